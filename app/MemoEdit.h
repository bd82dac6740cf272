// The rules of the memo dialog's OK, shared by the dialog and the command
// line: free-text limits, the writability checks, storing the choices into
// the record and saving it. Each refusal names the text to show.
#pragma once

#include <string>

namespace records {
class CECGContentsData;
}

namespace app {

constexpr unsigned kTextDataNotFound = 51012; // "Data not find"
constexpr unsigned kTextInputOver = 51013;    // "Input Over"
constexpr unsigned kTextWriteError = 51017;   // "Write Error"
// A free text may hold this many UTF-16 code units.
constexpr std::size_t kMemoTextLimit = 30;
constexpr int kSymptomNoAbnormality = 0x200;
constexpr int kStandardPosition = 0x08; // V4

// The groups' codes: a radio group holds none or one of its bits, the
// symptoms any of theirs.
constexpr int kSituationCodes = 0x3FF;
constexpr int kSymptomCodes = 0x3FF;
constexpr int kPositionCodes = 0xFF;
constexpr int kPostureCodes = 0x07;

struct MemoValues {
    int situation = 0;
    int symptoms = 0;
    int position = 0;
    int posture = 0;
    std::string situationText;
    std::string symptomText;
};

struct MemoOverLimit {
    bool situation = false;
    bool symptom = false;
    bool Any() const { return situation || symptom; }
};

enum class MemoOutcome {
    Saved,       // values stored and the file written
    InputOver,   // a free text is too long; nothing stored
    NotWritable, // the file cannot be written; nothing stored
    SaveFailed,  // values stored in memory, the file could not be written
    PathMissing, // values stored in memory, the file has gone
};

struct MemoResult {
    MemoOutcome outcome = MemoOutcome::Saved;
    MemoOverLimit overLimit;
    unsigned messageId = 0; // the text to show, 0 for none
    bool iconError = false; // error (stop) icon rather than exclamation
    // Whether the dialog closes (it stays open for the first two outcomes).
    bool Closes() const {
        return outcome != MemoOutcome::InputOver && outcome != MemoOutcome::NotWritable;
    }
};

MemoOverLimit CheckMemoTexts(const std::string& situationText, const std::string& symptomText);

// What the dialog shows for a record: a radio group shows a stored value
// only when it is exactly one of its codes (none otherwise, and V4 for the
// position); the symptom boxes show the bits they have.
MemoValues InitialMemoValues(const records::CECGContentsData& record);

// Whether the value is 0 or exactly one of the group's codes.
bool IsRadioChoice(int value, int groupCodes);

// Symptom 10 ("no abnormality") excludes symptoms 1 to 9.
int NormalizeSymptoms(int symptoms);

// The writability check made before a memo is edited or stored: 0 when the
// file may be written, else the text to show (51012 missing, 51017 refused).
unsigned CheckRecordWritable(const std::string& path);

// Stores the values into the record and saves its file, in the order the
// dialog's OK takes its steps.
MemoResult ApplyMemo(records::CECGContentsData& record, const MemoValues& values);

} // namespace app
