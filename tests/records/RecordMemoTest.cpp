#include "records/ECGContentsData.h"

#include "Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace records {
namespace {

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += s;
    }
    return out;
}

struct SetterCase {
    const char* name;
    std::string text;
    std::string kept;
    std::uint16_t storedBytes;
};

const std::string kSmile = "\xF0\x9F\x98\x80"; // U+1F600: two UTF-16 units

const SetterCase kSetterCases[] = {
    {"30 ASCII", std::string(30, 'a'), std::string(30, 'a'), 60},
    {"31 ASCII", std::string(31, 'a'), std::string(30, 'a'), 60},
    {"30 Japanese", Repeat("あ", 30), Repeat("あ", 30), 60},
    {"31 Japanese", Repeat("あ", 31), Repeat("あ", 30), 60},
    {"pair ends at unit 30", std::string(28, 'a') + kSmile, std::string(28, 'a') + kSmile, 60},
    {"pair across the limit", std::string(29, 'a') + kSmile, std::string(29, 'a'), 58},
    {"empty", "", "", 0},
};

// The two free texts keep at most 30 UTF-16 units, never half a pair, and
// what the getter shows is what the file receives.
TEST(RecordMemo, TextSettersKeepThirtyUnits) {
    testsupport::TempFolder dir;
    const std::string path = dir.File("a.ecg");
    for (const SetterCase& c : kSetterCases) {
        SCOPED_TRACE(c.name);
        testsupport::WriteFile(path, test::ValidRecord(24, false));
        CECGContentsData record;
        record.SetPath(path);
        record.Load();
        record.SetSituationText(c.text);
        record.SetSymptomText(c.text);
        EXPECT_EQ(record.GetSituationText(), c.kept);
        EXPECT_EQ(record.GetSymptomText(), c.kept);
        ASSERT_EQ(record.Save(), 1);

        const std::string file = testsupport::ReadFile(path);
        const std::size_t memo = MemoBlockOffset(24);
        EXPECT_EQ(test::GetLe16(file, memo + MemoItemOffset(CECGContentsData::kSituation) + 2),
                  c.storedBytes);
        EXPECT_EQ(test::GetLe16(file, memo + MemoItemOffset(CECGContentsData::kSymptoms) + 2),
                  c.storedBytes);
        CECGContentsData again;
        again.SetPath(path);
        again.Load();
        EXPECT_EQ(again.GetSituationText(), c.kept);
        EXPECT_EQ(again.GetSymptomText(), c.kept);
    }
}

} // namespace
} // namespace records
