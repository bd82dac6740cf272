#include "export/EdfFormat.h"

#include "export/EdfLayout.h"
#include "export/ExportTexts.h"
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"
#include "records/RecordFormat.h"
#include "records/SampleScale.h"

#include <edflib.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <vector>

namespace exports {

namespace {

constexpr unsigned kTextNoSamples = 62757;
constexpr unsigned kTextNoLayout = 62756;
constexpr unsigned kTextNotWritten = 62768;
constexpr std::int64_t kUtcPlus9 = 9 * 3600;
// The dates an EDF header can hold; the start of the range is also the
// agreed start of a recording whose date is not known.
constexpr int kFirstEdfYear = 1985;
constexpr int kLastEdfYear = 2084;
// A file of the largest record is about 30 KB; anything near this bound
// did not come from the writer.
constexpr std::size_t kMaxEdfBytes = 16 * 1024 * 1024;

// EDFlib keeps its open files in tables of the process, so one file is
// written at a time.
std::mutex& EdfLibLock() {
    static std::mutex lock;
    return lock;
}

// A private folder for EDFlib's file, removed with it. EDFlib writes in
// place; the finished bytes go to their target through the crash-safe save.
class CScratchFolder {
public:
    CScratchFolder() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "rhythmora-edf-XXXXXX");
        if (!error && ::mkdtemp(pattern.data()) != nullptr)
            m_strPath = pattern;
    }
    ~CScratchFolder() {
        std::error_code ignored;
        if (!m_strPath.empty())
            std::filesystem::remove_all(m_strPath, ignored);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

struct StartTime {
    int year = kFirstEdfYear, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The wall clock of the recording in UTC+9, as the program shows it.
StartTime StartOf(const records::CECGContentsData& record) {
    if (record.IsUndated())
        return {};
    const std::time_t t = static_cast<std::time_t>(record.GetRecordTime() + kUtcPlus9);
    std::tm wall{};
    if (::gmtime_r(&t, &wall) == nullptr || wall.tm_year + 1900 < kFirstEdfYear ||
        wall.tm_year + 1900 > kLastEdfYear)
        return {};
    return {wall.tm_year + 1900, wall.tm_mon + 1, wall.tm_mday,
            wall.tm_hour,        wall.tm_min,     wall.tm_sec};
}

std::string RecordNumberText(const records::CECGContentsData& record) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(record.GetRecordNumber()));
    return text;
}

// Writes the EDF+ file at path; false when EDFlib refused a step.
bool WriteWithEdfLib(const std::string& path, const records::CECGContentsData& record,
                     const EdfDataRecords& plan, const std::vector<std::string>& pieces) {
    const std::lock_guard<std::mutex> hold(EdfLibLock());
    const int handle = ::edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS, 1);
    if (handle < 0)
        return false;
    const StartTime start = StartOf(record);
    const std::string number = RecordNumberText(record);
    // The patient field stays as EDFlib leaves it, "X X X X": the record
    // names no one. No technician is known either.
    bool ok =
        (plan.bMicroseconds ? ::edf_set_micro_datarecord_duration(handle, plan.nDuration)
                            : ::edf_set_datarecord_duration(handle, plan.nDuration)) == 0 &&
        ::edf_set_samplefrequency(handle, 0, plan.nSamplesPerRecord) == 0 &&
        ::edf_set_digital_minimum(handle, 0, records::kSampleMin) == 0 &&
        ::edf_set_digital_maximum(handle, 0, records::kSampleMax) == 0 &&
        ::edf_set_physical_minimum(handle, 0, records::SampleMillivolts(records::kSampleMin)) ==
            0 &&
        ::edf_set_physical_maximum(handle, 0, records::SampleMillivolts(records::kSampleMax)) ==
            0 &&
        ::edf_set_label(handle, 0, "ECG") == 0 &&
        ::edf_set_physical_dimension(handle, 0, "mV") == 0 &&
        ::edf_set_startdatetime(handle, start.year, start.month, start.day, start.hour,
                                start.minute, start.second) == 0 &&
        ::edf_set_admincode(handle, number.c_str()) == 0 &&
        ::edf_set_equipment(handle, records::kDeviceModel) == 0 &&
        ::edf_set_recording_additional(handle, record.GetFilter() ? "filter on" : "filter off") ==
            0 &&
        ::edf_set_number_of_annotation_signals(handle, plan.nAnnotationSignals) == 0;
    std::vector<int> block(static_cast<std::size_t>(plan.nSamplesPerRecord));
    for (int r = 0; ok && r < plan.nRecords; ++r) {
        for (int k = 0; k < plan.nSamplesPerRecord; ++k)
            block[static_cast<std::size_t>(k)] =
                record.GetSample(r * plan.nSamplesPerRecord + k).value;
        ok = ::edfwrite_digital_samples(handle, block.data()) == 0;
    }
    for (std::size_t i = 0; ok && i < pieces.size(); ++i)
        ok = ::edfwrite_annotation_utf8(handle, 0, -1, pieces[i].c_str()) == 0;
    return ::edfclose_file(handle) == 0 && ok;
}

} // namespace

bool CEdfFormat::Generate(const records::CECGContentsData& record, std::string& bytes,
                          std::string& problem) const {
    using platform::FormatText;
    using platform::LoadText;
    if (record.GetSampleCount() == 0) {
        problem = LoadText(kTextNoSamples);
        return false;
    }
    std::vector<std::string> pieces;
    for (const std::string& note : RecordNoteTexts(record))
        for (std::string& piece : SplitNote(note, kEdfAnnotationBytes))
            pieces.push_back(std::move(piece));
    const std::optional<EdfDataRecords> plan =
        PlanEdfDataRecords(record.GetSampleCount(), record.GetSampleRate(), pieces.size());
    if (!plan) {
        problem = FormatText(LoadText(kTextNoLayout), {std::int64_t{record.GetSampleCount()},
                                                       std::int64_t{record.GetSampleRate()}});
        return false;
    }
    const CScratchFolder scratch;
    const std::string path = platform::JoinPath(scratch.Path(), "export.edf");
    std::optional<std::string> written;
    if (!scratch.Path().empty() && WriteWithEdfLib(path, record, *plan, pieces))
        written = platform::ReadWholeFile(path, kMaxEdfBytes);
    if (!written) {
        problem = LoadText(kTextNotWritten);
        return false;
    }
    bytes = std::move(*written);
    return true;
}

} // namespace exports
