#include "app/MemoEdit.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using app::MemoOutcome;
using testsupport::ReadFile;
using testsupport::TempFolder;

namespace {

std::string Repeat(const std::string& unit, int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += unit;
    return text;
}

TEST(MemoLimits, ThirtyUnitsAreAcceptedThirtyOneRefused) {
    const struct {
        std::string text;
        bool over;
    } cases[] = {
        {Repeat("a", 30), false},       {Repeat("a", 31), true},
        {Repeat("胸", 30), false},      {Repeat("胸", 31), true},
        {Repeat("𠮷", 15), false}, // two UTF-16 units each
        {Repeat("𠮷", 15) + "a", true}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::CheckMemoTexts(c.text, "").situation, c.over) << c.text;
        EXPECT_EQ(app::CheckMemoTexts("", c.text).symptom, c.over) << c.text;
    }
}

TEST(MemoChoices, InitialValuesShowOnlyValidChoices) {
    EXPECT_TRUE(app::IsRadioChoice(0, app::kPostureCodes));
    EXPECT_TRUE(app::IsRadioChoice(4, app::kPostureCodes));
    EXPECT_FALSE(app::IsRadioChoice(8, app::kPostureCodes));
    EXPECT_FALSE(app::IsRadioChoice(3, app::kPostureCodes));
    EXPECT_EQ(app::NormalizeSymptoms(0x211), 0x200);
    EXPECT_EQ(app::NormalizeSymptoms(0x011), 0x011);

    records::CECGContentsData record;
    record.SetSituation(3);
    record.SetPosition(0x100);
    record.SetPosture(2);
    record.SetSymptoms(0xFC01);
    const app::MemoValues values = app::InitialMemoValues(record);
    EXPECT_EQ(values.situation, 0);
    EXPECT_EQ(values.position, app::kStandardPosition);
    EXPECT_EQ(values.posture, 2);
    EXPECT_EQ(values.symptoms, 0x001);
}

class MemoSaveTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path;
    records::CECGContentsData record;

    void SetUp() override {
        std::vector<std::uint16_t> samples(100, 2048);
        path = folder.Write("r.ecg", records::BuildRecordFile({}, samples, true));
        record.SetPath(path);
        record.Load();
        ASSERT_TRUE(record.IsLoaded());
    }
};

TEST_F(MemoSaveTest, StoresAndSaves) {
    app::MemoValues values;
    values.situation = 4;
    values.position = 8;
    values.symptomText = "ちくちく";
    const app::MemoResult result = app::ApplyMemo(record, values);
    EXPECT_EQ(result.outcome, MemoOutcome::Saved);
    EXPECT_EQ(result.messageId, 0u);

    records::CECGContentsData again;
    again.SetPath(path);
    again.Load();
    EXPECT_EQ(again.GetSituation(), 4);
    EXPECT_EQ(again.GetPosition(), 8);
    EXPECT_EQ(again.GetSymptomText(), "ちくちく");
}

TEST_F(MemoSaveTest, RefusalsKeepTheRecordAndTheFile) {
    const std::string before = ReadFile(path);
    app::MemoValues tooLong;
    tooLong.situation = 1;
    tooLong.situationText = Repeat("x", 31);
    app::MemoResult result = app::ApplyMemo(record, tooLong);
    EXPECT_EQ(result.outcome, MemoOutcome::InputOver);
    EXPECT_EQ(result.messageId, app::kTextInputOver);
    EXPECT_TRUE(result.overLimit.situation);
    EXPECT_FALSE(result.Closes());
    EXPECT_EQ(record.GetSituation(), 0);

    chmod(path.c_str(), 0444);
    app::MemoValues fine;
    fine.situation = 1;
    result = app::ApplyMemo(record, fine);
    EXPECT_EQ(result.outcome, MemoOutcome::NotWritable);
    EXPECT_EQ(result.messageId, app::kTextWriteError);
    EXPECT_FALSE(result.iconError);
    EXPECT_EQ(ReadFile(path), before);

    std::filesystem::remove(path);
    result = app::ApplyMemo(record, fine);
    EXPECT_EQ(result.outcome, MemoOutcome::NotWritable);
    EXPECT_EQ(result.messageId, app::kTextDataNotFound);
    EXPECT_TRUE(result.iconError);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(record.GetSituation(), 0);
}

} // namespace
