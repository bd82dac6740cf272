// EDF+ files read back by an independent reader, MNE-Python: what another
// program sees of the samples, the rate, the signal, the start and the
// notes.
#include "ExportFixture.h"
#include "export/EdfFormat.h"
#include "platform/CodePage.h"
#include "records/SampleScale.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace exports {
namespace {

using exporttest::FileMemo;
using exporttest::LanguageScope;
using exporttest::MakeRecord;
using exporttest::RecordShape;

// Prints what MNE reads of the file named by its argument as JSON.
constexpr const char* kReader = R"(import json, sys
import mne
raw = mne.io.read_raw_edf(sys.argv[1], preload=True, verbose="error")
print(json.dumps({
    "sfreq": raw.info["sfreq"],
    "channels": raw.ch_names,
    "units": [raw._orig_units[name] for name in raw.ch_names],
    "start": raw.info["meas_date"].strftime("%Y-%m-%d %H:%M:%S"),
    "millivolts": list(raw.get_data(units="mV")[0]),
    "onsets": list(raw.annotations.onset),
    "notes": list(raw.annotations.description),
}))
)";

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

QJsonObject ReadWithMne(const testsupport::TempFolder& folder, const std::string& edf) {
    const std::string script = folder.Write("read_edf.py", kReader);
    const std::string json = Capture("/usr/bin/python3 '" + script + "' '" + edf + "'");
    QJsonParseError error{};
    const QJsonObject read =
        QJsonDocument::fromJson(QByteArray::fromStdString(json), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    return read;
}

std::string WithoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

struct ReadBackCase {
    const char* name;
    RecordShape shape;
    const char* locale;
    bool fullMemo;
    const char* start;     // the wall clock a reader shows
    const char* recording; // how the header's recording field begins
    std::vector<std::string> notes;
};

void PrintTo(const ReadBackCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string kComment = [] {
    std::string text;
    const std::string sentence = "朝から動悸が続き、階段を上ると息切れがしました。"; // 24
    while (platform::Utf16Length(text) + 24 <= 140)
        text += sentence;
    while (platform::Utf16Length(text) < 140)
        text += "夜";
    return text;
}();

class EdfReadBackTest : public ::testing::TestWithParam<ReadBackCase> {
protected:
    testsupport::TempFolder folder;
};

TEST_P(EdfReadBackTest, AnotherReaderSeesTheRecording) {
    const ReadBackCase& c = GetParam();
    const LanguageScope language(c.locale);
    FileMemo memo;
    if (c.fullMemo)
        memo = {"右鎖骨の下", "椅子に座って", kComment};
    const auto record = MakeRecord(folder, "d240105150405_002a.ecg", c.shape, memo);
    if (c.fullMemo) {
        record->SetSituation(512);
        record->SetSituationText("出張先のホテルで朝食の後に記録");
        record->SetSymptoms(1 | 16 | 256);
        record->SetSymptomText("左腕のしびれ");
        record->SetPosition(8);
        record->SetPosture(1);
    }
    std::string bytes, problem;
    ASSERT_TRUE(CEdfFormat().Generate(*record, bytes, problem)) << problem;
    const std::string edf = folder.Write("export.edf", bytes);

    // The fixed ASCII header: an anonymous patient, the record's number and
    // the device model, continuous EDF+.
    ASSERT_GT(bytes.size(), 256u);
    EXPECT_EQ(bytes.substr(8, 8), "X X X X ");
    EXPECT_EQ(bytes.substr(88, std::string(c.recording).size()), c.recording);
    EXPECT_EQ(bytes.substr(192, 5), "EDF+C");

    const QJsonObject read = ReadWithMne(folder, edf);
    EXPECT_EQ(read["sfreq"].toDouble(), c.shape.sampleRate);
    EXPECT_EQ(read["channels"].toArray(), QJsonArray{"ECG"});
    EXPECT_EQ(read["units"].toArray(), QJsonArray{"mV"});
    EXPECT_EQ(read["start"].toString().toStdString(), c.start);

    // Every sample once, each within one step of the scale.
    const QJsonArray millivolts = read["millivolts"].toArray();
    ASSERT_EQ(millivolts.size(), static_cast<qsizetype>(c.shape.sampleCount));
    for (qsizetype i = 0; i < millivolts.size(); ++i) {
        const double expected = records::SampleMillivolts(record->GetSample(int(i)).value);
        ASSERT_NEAR(millivolts[i].toDouble(), expected, 1 / records::kSampleGain) << "sample " << i;
    }

    // The notes at the start, in order, each piece whole UTF-8 and within
    // what EDFlib stores.
    for (const QJsonValue onset : read["onsets"].toArray())
        EXPECT_EQ(onset.toDouble(), 0.0);
    std::string joined;
    for (const QJsonValue note : read["notes"].toArray()) {
        const std::string text = note.toString().toStdString();
        EXPECT_LE(text.size(), 40u) << text;
        EXPECT_EQ(text.find("\uFFFD"), std::string::npos) << text;
        joined += WithoutSpaces(text);
    }
    std::string expected;
    for (const std::string& note : c.notes)
        expected += WithoutSpaces(note);
    EXPECT_EQ(joined, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Records, EdfReadBackTest,
    ::testing::Values(ReadBackCase{"ThirtySeconds",
                                   {3750, 125},
                                   "en_US.UTF-8",
                                   false,
                                   "2024-01-05 15:04:05",
                                   "Startdate 05-JAN-2024 002a X VTQ-7700S filter on",
                                   {"Analysis: No irregularity found", "Heart rate: 72 bpm"}},
                      ReadBackCase{"OddShort",
                                   {13, 125},
                                   "en_US.UTF-8",
                                   false,
                                   "2024-01-05 15:04:05",
                                   "Startdate 05-JAN-2024",
                                   {"Analysis: No irregularity found", "Heart rate: 72 bpm"}},
                      ReadBackCase{"OwnRate",
                                   {2500, 500, 1, 0x0020, 250},
                                   "en_US.UTF-8",
                                   false,
                                   "2024-01-05 15:04:05",
                                   "Startdate 05-JAN-2024",
                                   {"Analysis: Fast heart rate", "Heart rate: --"}},
                      ReadBackCase{"Undated",
                                   {3750, 125, 0},
                                   "en_US.UTF-8",
                                   false,
                                   "1985-01-01 00:00:00",
                                   "Startdate 01-JAN-1985",
                                   {"Analysis: No irregularity found", "Heart rate: 72 bpm"}},
                      ReadBackCase{"JapaneseMemo",
                                   {3750, 125, 1, 0x0040, 58},
                                   "ja_JP.UTF-8",
                                   true,
                                   "2024-01-05 15:04:05",
                                   "Startdate 05-JAN-2024 002a X VTQ-7700S",
                                   {"解析結果：心拍が遅めです", "心拍数：58 bpm",
                                    "記録状況：その他：出張先のホテルで朝食の後に記録",
                                    "自覚症状：胸の痛み、どきどきする、その他：左腕のしびれ",
                                    "記録位置：胸4(V4) ※標準、備考：右鎖骨の下",
                                    "記録姿勢：座った姿勢、椅子に座って",
                                    "コメント：" + kComment}}),
    [](const auto& info) { return info.param.name; });

TEST(EdfFormat, RefusesWhatItCannotKeepExactly) {
    testsupport::TempFolder folder;
    const LanguageScope language("en_US.UTF-8");
    std::string bytes, problem;
    const auto odd = MakeRecord(folder, "odd.ecg", RecordShape{13, 128});
    EXPECT_FALSE(CEdfFormat().Generate(*odd, bytes, problem));
    EXPECT_EQ(problem,
              "13 samples at 128 Hz cannot be divided into EDF data records of an exact length.");
    const auto empty = MakeRecord(folder, "empty.ecg", RecordShape{0, 125});
    EXPECT_FALSE(CEdfFormat().Generate(*empty, bytes, problem));
    EXPECT_EQ(problem, "The recording holds no samples.");
    EXPECT_TRUE(bytes.empty());
}

} // namespace
} // namespace exports
