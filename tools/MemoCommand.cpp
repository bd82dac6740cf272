// `memo`: the memo dialog's OK from the command line: the dialog's starting
// values, the options as the user's changes, then the same limits, checks,
// messages and save. An item is named as on the form (`--position V4`,
// `--symptom chest-pain`) or given by the code the record stores.
#include "app/MemoEdit.h"
#include "platform/ProfileText.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/RecordMessages.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace tool {

namespace {

// A group's items in the form's order: item k has the code 1 << k.
using ItemNames = std::array<std::string_view, 10>;
constexpr ItemNames kSituations = {"on-waking", "post-meal", "at-rest", "toilet",     "smoking",
                                   "bathing",   "exercise",  "alcohol", "medication", "other"};
constexpr ItemNames kSymptoms = {"chest-pain",   "tight-chest", "prickling", "breathless",
                                 "palpitations", "dazed",       "faint",     "skipped-beats",
                                 "other",        "no-symptoms"};
constexpr ItemNames kPositions = {"V1", "V2", "V3", "V4", "V5", "V6", "abdomen", "palm", "", ""};
constexpr ItemNames kPostures = {"sitting", "standing", "lying", "", "", "", "", "", "", ""};

// The code an item's name or code stands for: "none" is 0, a name its
// item's code, a number the code itself when the group has it (one code
// for a radio group, any sum for the symptoms).
int ParseItem(const char* option, const std::string& text, const ItemNames& names, int groupCodes,
              bool radio) {
    if (radio && platform::EqualsNoCase(text, "none"))
        return 0;
    for (std::size_t k = 0; k < names.size(); ++k)
        if (!names[k].empty() && platform::EqualsNoCase(text, names[k]))
            return 1 << k;
    const bool number = text.find_first_not_of("0123456789") == std::string::npos ||
                        text.starts_with("0x") || text.starts_with("0X");
    if (!text.empty() && number) {
        const int code = ParseIntOption(option, text, 0, groupCodes);
        if (!radio || app::IsRadioChoice(code, groupCodes))
            return code;
    }
    throw Usage(kTextMemoItem, {option, text});
}

// Applies a radio group's option, when given.
void TakeChoice(const Arguments& arguments, const char* option, const ItemNames& names,
                int groupCodes, int& value) {
    if (const auto text = arguments.Value(option))
        value = ParseItem(option, *text, names, groupCodes, true);
}

// The symptoms given, as one set of codes; -1 when none is given.
int TakeSymptoms(const Arguments& arguments) {
    const std::vector<std::string> items = arguments.Values("--symptom");
    const auto sum = arguments.Value("--symptoms");
    if (sum && !items.empty())
        throw Usage(kTextTogether, {"--symptom", "--symptoms"});
    if (sum)
        return ParseIntOption("--symptoms", *sum, 0, app::kSymptomCodes);
    if (items.empty())
        return -1;
    int symptoms = 0;
    for (const std::string& item : items)
        symptoms |= ParseItem("--symptom", item, kSymptoms, app::kSymptomCodes, false);
    return symptoms;
}

} // namespace

int RunMemo(std::span<const std::string> args) {
    const Arguments arguments(args, {},
                              {"--situation", "--symptoms", "--position", "--posture",
                               "--situation-text", "--symptom-text"},
                              {"--symptom"});
    if (arguments.Positionals().size() != 1)
        throw Usage(kTextOneFile, {"memo"});

    std::error_code ignored;
    records::CECGContentsData record;
    record.SetPath(
        std::filesystem::absolute(arguments.Positionals()[0], ignored).lexically_normal().string());

    // Options are checked before anything is read, so a typing error never
    // reaches the file.
    int situation = -1, position = -1, posture = -1;
    TakeChoice(arguments, "--situation", kSituations, app::kSituationCodes, situation);
    TakeChoice(arguments, "--position", kPositions, app::kPositionCodes, position);
    TakeChoice(arguments, "--posture", kPostures, app::kPostureCodes, posture);
    const int symptoms = TakeSymptoms(arguments);

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
