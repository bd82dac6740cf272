// `info`: what each record file holds, as the program reads it.
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "records/RecordTime.h"
#include "records/SampleScale.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/Json.h"
#include "tools/RecordMessages.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <ctime>
#include <filesystem>
#include <iostream>

namespace tool {

namespace {

using records::CECGContentsData;

std::string LocalIsoTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return "";
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+09:00", &local);
    return text;
}

std::string AnalysisMessage(int analysisClass) {
    if (analysisClass < 0 || analysisClass > 12)
        return "";
    return platform::LoadText(kTextAnalysisMessage + static_cast<unsigned>(analysisClass));
}

void WriteJson(JsonWriter& json, const CECGContentsData& r, bool valid, bool withSamples) {
    json.BeginObject();
    json.PathField("path", r.GetPath());
    json.PathField("file_name", r.GetFileName());
    json.Field("valid", valid);
    json.Field("loaded", r.IsLoaded());
    json.Field("load_failures", r.GetLoadFailures());
    json.Field("kind", r.GetKind());
    json.Field("sample_rate", r.GetSampleRate());
    json.Field("sample_count", r.GetSampleCount());
    json.Field("duration_text", r.GetDurationText());
    json.Field("record_number", static_cast<int>(r.GetRecordNumber()));
    json.Field("recorded", static_cast<long long>(r.GetRecordTime()));
    json.Field("recorded_local", LocalIsoTime(r.GetRecordTime()));
    json.Field("undated", r.IsUndated());
    json.Field("filter", static_cast<int>(r.GetFilter()));
    json.Field("device_value", static_cast<int>(r.GetDeviceValue()));
    json.Field("heart_rate", static_cast<int>(r.GetHeartRate()));
    json.Field("flags", static_cast<long long>(r.GetFlags()));
    json.Field("analysis_class", r.GetAnalysisClass());
    json.Field("severity", r.GetSeverity());
    json.Key("indicators");
    json.BeginArray();
    for (int i = 1; i <= 5; ++i)
        json.Bool(r.GetIndicator(i));
    json.EndArray();
    json.Key("memo");
    json.BeginObject();
    json.Field("situation", static_cast<int>(r.GetSituation()));
    json.Field("situation_text", r.GetSituationText());
    json.Field("symptoms", static_cast<int>(r.GetSymptoms()));
    json.Field("symptom_text", r.GetSymptomText());
    json.Field("position", static_cast<int>(r.GetPosition()));
    json.Field("position_text", r.GetPositionText());
    json.Field("posture", static_cast<int>(r.GetPosture()));
    json.Field("posture_text", r.GetPostureText());
    json.Field("comment", r.GetComment());
    json.EndObject();
    if (withSamples) {
        // millivolts = (sample - baseline) / gain
        json.Field("gain", records::kSampleGain);
        json.Field("baseline", records::kSampleBaseline);
        json.Key("samples");
        json.BeginArray();
        for (int i = 0; i < r.GetSampleCount(); ++i)
            json.Int(r.GetSample(i).value);
        json.EndArray();
    }
    json.EndObject();
}

// Quoted, with whatever the file holds escaped for the terminal.
std::string Quoted(const std::string& text) {
    return "\"" + TerminalField(text) + "\"";
}

void WriteText(const CECGContentsData& r, bool valid, bool withSamples) {
    std::cout << TerminalField(r.GetPath()) << '\n';
    std::cout << "  valid: " << (valid ? "yes" : "no")
              << ", loaded: " << (r.IsLoaded() ? "yes" : "no") << '\n';
    if (!r.IsLoaded())
        return;
    std::cout << "  recorded: "
              << (r.IsUndated() ? std::string("(undated)")
                                : records::FormatRecordTime(r.GetRecordTime(), false))
              << "  record number: " << r.GetRecordNumber() << '\n';
    std::cout << "  samples: " << r.GetSampleCount() << " at " << r.GetSampleRate() << " Hz, "
              << r.GetDurationText() << " s\n";
    std::cout << "  heart rate: " << r.GetHeartRate() << " bpm, filter "
              << (r.GetFilter() ? "on" : "off") << '\n';
    std::cout << "  analysis: class " << r.GetAnalysisClass() << " ("
              << TerminalMessage(AnalysisMessage(r.GetAnalysisClass())) << "), severity "
              << r.GetSeverity() << '\n';
    std::cout << "  memo: situation " << r.GetSituation() << ' ' << Quoted(r.GetSituationText())
              << ", symptoms " << r.GetSymptoms() << ' ' << Quoted(r.GetSymptomText())
              << ", position " << r.GetPosition() << ", posture " << r.GetPosture() << '\n';
    if (!r.GetComment().empty())
        std::cout << "  comment: " << Quoted(r.GetComment()) << '\n';
    if (withSamples) {
        std::cout << "  samples:";
        for (int i = 0; i < r.GetSampleCount(); ++i)
            std::cout << ' ' << r.GetSample(i).value;
        std::cout << '\n';
    }
}

} // namespace

int RunInfo(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json", "--samples"}, {});
    if (arguments.Positionals().empty())
        throw Usage(kTextNeedsFiles, {"info"});
    const bool asJson = arguments.Has("--json");
    const bool withSamples = arguments.Has("--samples");

    int status = kExitOk;
    JsonWriter json(std::cout);
    if (asJson)
        json.BeginArray();
    for (const std::string& file : arguments.Positionals()) {
        std::error_code ignored;
        CECGContentsData record;
        record.SetPath(std::filesystem::absolute(file, ignored).lexically_normal().string());
        const bool valid = record.IsValidFile();
        record.Load();
        if (asJson)
            WriteJson(json, record, valid, withSamples);
        else
            WriteText(record, valid, withSamples);
        if (const unsigned problem = RecordProblem(record)) {
            std::cerr << TerminalField(file) << ": " << TerminalMessage(platform::LoadText(problem))
                      << '\n';
            status = kExitFailed;
        }
    }
    if (asJson)
        json.EndArray();
    return status;
}

} // namespace tool
