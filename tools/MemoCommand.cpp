// `memo`: the memo dialog's OK from the command line: the dialog's starting
// values, the options as the user's changes, then the same limits, checks,
// messages and save.
#include "app/MemoEdit.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/RecordMessages.h"
#include "tools/ToolContext.h"

#include <filesystem>
#include <iostream>

namespace tool {

namespace {

std::string CodeList(int groupCodes) {
    std::string codes;
    for (int bit = 1; bit <= groupCodes; bit <<= 1)
        if (groupCodes & bit)
            codes += (codes.empty() ? "" : ", ") + std::to_string(bit);
    return codes;
}

// Applies a radio group's option: 0 (no choice) or one of its codes.
void TakeChoice(const Arguments& arguments, const char* option, int groupCodes, int& value) {
    const auto text = arguments.Value(option);
    if (!text)
        return;
    const int parsed = ParseIntOption(option, *text, 0, 0xFFFF);
    if (!app::IsRadioChoice(parsed, groupCodes))
        throw UsageError(std::string(option) + " takes 0 or one of the codes " +
                         CodeList(groupCodes) + ", not \"" + *text + "\"");
    value = parsed;
}

} // namespace

int RunMemo(std::span<const std::string> args) {
    const Arguments arguments(args, {},
                              {"--situation", "--symptoms", "--position", "--posture",
                               "--situation-text", "--symptom-text"});
    if (arguments.Positionals().size() != 1)
        throw UsageError("memo takes exactly one record file");

    std::error_code ignored;
    records::CECGContentsData record;
    record.SetPath(
        std::filesystem::absolute(arguments.Positionals()[0], ignored).lexically_normal().string());

    // Options are checked before anything is read, so a typing error never
    // reaches the file.
    int situation = -1, position = -1, posture = -1;
    TakeChoice(arguments, "--situation", app::kSituationCodes, situation);
    TakeChoice(arguments, "--position", app::kPositionCodes, position);
    TakeChoice(arguments, "--posture", app::kPostureCodes, posture);
    const auto symptomText = arguments.Value("--symptoms");
    const int symptoms =
        symptomText ? ParseIntOption("--symptoms", *symptomText, 0, app::kSymptomCodes) : -1;

    if (const unsigned refusal = app::CheckRecordWritable(record.GetPath()))
        return Fail(platform::LoadText(refusal));
    record.Load();
    if (const unsigned problem = RecordProblem(record))
        return Fail(platform::LoadText(problem));

    app::MemoValues values = app::InitialMemoValues(record);
    if (situation >= 0)
        values.situation = situation;
    if (position >= 0)
        values.position = position;
    if (posture >= 0)
        values.posture = posture;
    if (symptoms >= 0)
        values.symptoms = app::NormalizeSymptoms(symptoms);
    if (const auto text = arguments.Value("--situation-text"))
        values.situationText = *text;
    if (const auto text = arguments.Value("--symptom-text"))
        values.symptomText = *text;

    const app::MemoResult result = app::ApplyMemo(record, values);
    if (result.messageId != 0)
        return Fail(platform::LoadText(result.messageId));
    return kExitOk;
}

} // namespace tool
