#include "app/MemoEdit.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "records/ECGContentsData.h"
#include "records/RecordFileOps.h"

namespace app {

MemoOverLimit CheckMemoTexts(const std::string& situationText, const std::string& symptomText) {
    MemoOverLimit over;
    over.situation = platform::Utf16Length(situationText) > kMemoTextLimit;
    over.symptom = platform::Utf16Length(symptomText) > kMemoTextLimit;
    return over;
}

bool IsRadioChoice(int value, int groupCodes) {
    const bool singleBit = value > 0 && (value & (value - 1)) == 0;
    return value == 0 || (singleBit && (value & groupCodes) == value);
}

MemoValues InitialMemoValues(const records::CECGContentsData& record) {
    auto shown = [](int stored, int codes) { return IsRadioChoice(stored, codes) ? stored : 0; };
    MemoValues values;
    values.situation = shown(record.GetSituation(), kSituationCodes);
    values.symptoms = record.GetSymptoms() & kSymptomCodes;
    values.position = shown(record.GetPosition(), kPositionCodes);
    if (values.position == 0)
        values.position = kStandardPosition;
    values.posture = shown(record.GetPosture(), kPostureCodes);
    values.situationText = record.GetSituationText();
    values.symptomText = record.GetSymptomText();
    return values;
}

int NormalizeSymptoms(int symptoms) {
    if (symptoms & kSymptomNoAbnormality)
        return kSymptomNoAbnormality;
    return symptoms;
}

unsigned CheckRecordWritable(const std::string& path) {
    if (!platform::FileExists(path))
        return kTextDataNotFound;
    if (!platform::CanWrite(path))
        return kTextWriteError;
    return 0;
}

MemoResult ApplyMemo(records::CECGContentsData& record, const MemoValues& values) {
    MemoResult result;
    result.overLimit = CheckMemoTexts(values.situationText, values.symptomText);
    if (result.overLimit.Any()) {
        result.outcome = MemoOutcome::InputOver;
        result.messageId = kTextInputOver;
        return result;
    }
    if (const unsigned refusal = CheckRecordWritable(record.GetPath())) {
        result.outcome = MemoOutcome::NotWritable;
        result.messageId = refusal;
        result.iconError = refusal == kTextDataNotFound;
        return result;
    }

    record.SetSituation(static_cast<std::uint16_t>(values.situation));
    record.SetSymptoms(static_cast<std::uint16_t>(values.symptoms));
    record.SetPosition(static_cast<std::uint16_t>(values.position));
    record.SetPosture(static_cast<std::uint16_t>(values.posture));
    record.SetSituationText(values.situationText);
    record.SetSymptomText(values.symptomText);

    if (!records::IsUsableFolder(record.GetPath())) {
        result.outcome = MemoOutcome::PathMissing;
        result.messageId = kTextDataNotFound;
        result.iconError = true;
    } else if (record.Save() == 0) {
        result.outcome = MemoOutcome::SaveFailed;
        result.messageId = kTextWriteError;
    }
    return result;
}

} // namespace app
