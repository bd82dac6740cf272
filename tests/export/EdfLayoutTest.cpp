#include "export/EdfLayout.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <optional>

namespace exports {
namespace {

struct LayoutCase {
    const char* name;
    int samples;
    int rate;
    std::size_t notes;
    // Expected: samples per data record, records, duration, microseconds,
    // annotation signals; 0 samples per record for no layout.
    int perRecord;
    int records;
    int duration;
    bool micro;
    int signals;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class EdfLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(EdfLayoutTest, DividesTheSamplesExactly) {
    const LayoutCase& c = GetParam();
    const std::optional<EdfDataRecords> plan = PlanEdfDataRecords(c.samples, c.rate, c.notes);
    if (c.perRecord == 0) {
        EXPECT_FALSE(plan.has_value());
        return;
    }
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->nSamplesPerRecord, c.perRecord);
    EXPECT_EQ(plan->nRecords, c.records);
    EXPECT_EQ(plan->nSamplesPerRecord * plan->nRecords, c.samples); // nothing padded or dropped
    EXPECT_EQ(plan->nDuration, c.duration);
    EXPECT_EQ(plan->bMicroseconds, c.micro);
    EXPECT_EQ(plan->nAnnotationSignals, c.signals);
}

INSTANTIATE_TEST_SUITE_P(Layouts, EdfLayoutTest,
                         ::testing::Values(
                             // One-second records where the count allows.
                             LayoutCase{"Full30Seconds", 3750, 125, 20, 125, 30, 100000, false, 1},
                             // 13 is prime: one record of 0.104 s rather than thirteen of 8 ms.
                             LayoutCase{"OddShort", 13, 125, 5, 13, 1, 10400, false, 5},
                             // A prime count beyond a second: one long record (34.984 s).
                             LayoutCase{"PrimeLong", 4373, 125, 3, 4373, 1, 3498400, false, 3},
                             // 64 annotations fit one record; a 65th needs smaller records.
                             LayoutCase{"SixtyFourNotes", 13, 125, 64, 13, 1, 10400, false, 64},
                             LayoutCase{"SixtyFiveNotes", 13, 125, 65, 1, 13, 800, false, 5},
                             // 1/300 s is no whole number of 10 us: records of three samples.
                             LayoutCase{"Rate300", 900, 300, 1, 300, 3, 100000, false, 1},
                             // Too short for 10 us units but exact in microseconds.
                             LayoutCase{"Microseconds", 5, 20000, 1, 5, 1, 250, true, 1},
                             // No exact duration exists: 13/128 s needs seven decimals.
                             LayoutCase{"Rate128Odd", 13, 128, 1, 0, 0, 0, false, 0},
                             LayoutCase{"NoSamples", 0, 125, 1, 0, 0, 0, false, 0},
                             // More notes than 64 signals can carry even in one-sample records.
                             LayoutCase{"TooManyNotes", 2, 125, 129, 0, 0, 0, false, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(SplitNote, PiecesFitAndKeepWholeCharacters) {
    const std::string japanese =
        "コメント：朝から動悸が続き、階段を上ると息切れがしました。夜は眠れました。";
    const std::string english = "Symptoms: Chest pain, Palpitations, Other: numb left arm";
    for (const std::string& note : {japanese, english}) {
        const std::vector<std::string> pieces = SplitNote(note, kEdfAnnotationBytes);
        ASSERT_GT(pieces.size(), 1u) << note;
        std::string joined;
        for (const std::string& piece : pieces) {
            EXPECT_LE(piece.size(), kEdfAnnotationBytes) << piece;
            EXPECT_TRUE(platform::IsValidUtf8(piece)) << piece;
            EXPECT_FALSE(piece.empty());
            EXPECT_NE(piece.front(), ' ');
            EXPECT_NE(piece.back(), ' ');
            joined += (joined.empty() || japanese == note ? "" : " ") + piece;
        }
        EXPECT_EQ(joined, note);
    }
    // Pieces of about equal length, broken after the label or a comma, not
    // inside words.
    EXPECT_EQ(
        SplitNote(english, kEdfAnnotationBytes),
        (std::vector<std::string>{"Symptoms: Chest pain,", "Palpitations, Other: numb left arm"}));
    EXPECT_EQ(SplitNote("出張先のホテルで朝食の後に記録", kEdfAnnotationBytes),
              (std::vector<std::string>{"出張先のホテルで", "朝食の後に記録"}));
    EXPECT_EQ(SplitNote("解析結果：心拍に乱れはありません", kEdfAnnotationBytes),
              (std::vector<std::string>{"解析結果：", "心拍に乱れはありません"}));
    // A note that fits stays whole; nothing gives nothing.
    EXPECT_EQ(SplitNote("Heart rate: 72 bpm", kEdfAnnotationBytes),
              std::vector<std::string>{"Heart rate: 72 bpm"});
    EXPECT_TRUE(SplitNote("   ", kEdfAnnotationBytes).empty());
    // A word longer than a piece is cut where it must be.
    EXPECT_EQ(SplitNote(std::string(50, 'x'), kEdfAnnotationBytes),
              (std::vector<std::string>{std::string(28, 'x'), std::string(22, 'x')}));
}

} // namespace
} // namespace exports
