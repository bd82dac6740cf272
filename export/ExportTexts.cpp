#include "export/ExportTexts.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"

#include <cstdint>
#include <string_view>

namespace exports {

namespace {

constexpr unsigned kTextAnalysisMessage = 62020; // + the class 0-12
constexpr int kAnalysisClassCount = 13;
constexpr unsigned kTextAnalysis = 62754;
constexpr unsigned kTextHeartRate = 62750;
constexpr unsigned kTextNoHeartRate = 62751;
constexpr unsigned kTextListSeparator = 62752;
constexpr unsigned kTextLabelled = 62753;
constexpr unsigned kTextComment = 62755;
constexpr unsigned kTextPositionNote = 62288;
// The range the windows show a heart rate in; others are no measurement.
constexpr int kLowestHeartRate = 30;
constexpr int kHighestHeartRate = 200;

// A memo group as the report prints it: its label, its first option's
// text (one per code bit) and how many options it has.
struct Group {
    unsigned nLabel;
    unsigned nFirstOption;
    int nCount;
    int nOtherBit; // the option whose words are the group's free text, -1 none
};
constexpr Group kSituation{62210, 62220, 10, 9};
constexpr Group kSymptoms{62240, 62250, 10, 8};
constexpr Group kPosition{62270, 62280, 8, -1};
constexpr Group kPosture{62272, 62310, 3, -1};

using platform::FormatText;
using platform::LoadText;

std::string Clean(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return text;
}

std::string Labelled(const std::string& label, const std::string& value) {
    return FormatText(LoadText(kTextLabelled), {std::string_view(label), std::string_view(value)});
}

// The report numbers its options ("2. After a meal"); a note reads better
// without the number.
std::string OptionText(unsigned id) {
    const std::string text = LoadText(id);
    std::size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == 0 || i >= text.size() || text[i] != '.')
        return text;
    ++i;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return text.substr(i);
}

// "Label: option, option, Other: words"; empty when nothing is chosen or
// written. Words without their option ticked are kept all the same.
std::string GroupText(const Group& group, std::uint16_t code, const std::string& words,
                      unsigned wordsLabel = 0) {
    std::vector<std::string> items;
    bool wordsPlaced = false;
    for (int bit = 0; bit < group.nCount; ++bit) {
        if ((code & (1u << bit)) == 0)
            continue;
        std::string item = OptionText(group.nFirstOption + static_cast<unsigned>(bit));
        if (bit == group.nOtherBit && !words.empty()) {
            item = Labelled(item, words);
            wordsPlaced = true;
        }
        items.push_back(std::move(item));
    }
    if (!words.empty() && !wordsPlaced)
        items.push_back(wordsLabel != 0 ? Labelled(LoadText(wordsLabel), words) : words);
    if (items.empty())
        return {};
    std::string list;
    const std::string separator = LoadText(kTextListSeparator);
    for (const std::string& item : items)
        list += (list.empty() ? "" : separator) + item;
    return Labelled(LoadText(group.nLabel), list);
}

} // namespace

std::vector<std::string> RecordNoteTexts(const records::CECGContentsData& record) {
    std::vector<std::string> notes;
    const int analysis = record.GetAnalysisClass();
    if (analysis >= 0 && analysis < kAnalysisClassCount) {
        const std::string message =
            LoadText(kTextAnalysisMessage + static_cast<unsigned>(analysis));
        notes.push_back(FormatText(LoadText(kTextAnalysis), {std::string_view(message)}));
    }
    const int rate = record.GetHeartRate();
    notes.push_back(rate >= kLowestHeartRate && rate <= kHighestHeartRate
                        ? FormatText(LoadText(kTextHeartRate), {std::int64_t{rate}})
                        : LoadText(kTextNoHeartRate));
    for (std::string text :
         {GroupText(kSituation, record.GetSituation(), record.GetSituationText()),
          GroupText(kSymptoms, record.GetSymptoms(), record.GetSymptomText()),
          GroupText(kPosition, record.GetPosition(), record.GetPositionText(), kTextPositionNote),
          GroupText(kPosture, record.GetPosture(), record.GetPostureText())}) {
        if (!text.empty())
            notes.push_back(std::move(text));
    }
    if (const std::string comment = record.GetComment(); !comment.empty())
        notes.push_back(Labelled(LoadText(kTextComment), comment));
    for (std::string& note : notes)
        note = Clean(std::move(note));
    return notes;
}

} // namespace exports
