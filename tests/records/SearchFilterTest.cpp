#include "records/SearchFilter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace records {
namespace {

using Switches = std::array<int, 6>;

Switches Only(int s) {
    Switches on{};
    on[s] = 1;
    return on;
}

// For each class, which single switch lets it pass (switch order: none,
// slow, fast, beats, waveform, not analysable).
struct ClassRow {
    int cls;
    const char* passes;
};
const ClassRow kClassRows[] = {
    {0, "100000"},  {1, "001000"},  {2, "001100"},  {3, "001010"}, {4, "001110"},  {5, "010000"},
    {6, "010100"},  {7, "010010"},  {8, "010110"},  {9, "000100"}, {10, "000110"}, {11, "000010"},
    {12, "000001"}, {-1, "100000"}, {13, "100000"}, // outside the table: treated as class 0
};

TEST(SearchFilter, EachSwitchAloneSelectsItsClasses) {
    for (const ClassRow& row : kClassRows) {
        for (int s = 0; s < 6; ++s) {
            EXPECT_EQ(MatchesFilter(Only(s), row.cls), row.passes[s] == '1')
                << "class " << row.cls << " switch " << s;
        }
        EXPECT_TRUE(MatchesFilter(Switches{}, row.cls)) << "no filter: class " << row.cls;
        EXPECT_TRUE(MatchesFilter(Switches{1, 1, 1, 1, 1, 1}, row.cls));
    }
}

TEST(SearchFilter, SwitchesCombineAndAnyNonZeroIsOn) {
    const Switches slowOrWave{0, 7, 0, 0, -1, 0};
    EXPECT_TRUE(MatchesFilter(slowOrWave, 5));
    EXPECT_TRUE(MatchesFilter(slowOrWave, 11));
    EXPECT_TRUE(MatchesFilter(slowOrWave, 3));
    EXPECT_FALSE(MatchesFilter(slowOrWave, 0));
    EXPECT_FALSE(MatchesFilter(slowOrWave, 9));
    EXPECT_FALSE(MatchesFilter(slowOrWave, 12));
}

TEST(SearchFilter, PartialFilterIsOneToFiveSwitches) {
    EXPECT_FALSE(HasPartialFilter(Switches{}));
    EXPECT_TRUE(HasPartialFilter(Switches{0, 0, 0, 0, 0, 2}));
    EXPECT_TRUE(HasPartialFilter(Switches{1, 1, 1, 1, 1, 0}));
    EXPECT_FALSE(HasPartialFilter(Switches{1, 1, 1, 1, 1, 1}));
}

} // namespace
} // namespace records
