// The statistics of alternated rounds, against figures worked out apart from
// the code: Student's t from its distribution, the rest by hand.
#include "rounds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Rounds, EveryOtherRoundRunsBackwards)
{
    EXPECT_EQ(balanced_order(3, 3), (std::vector<std::vector<int>>{{0, 1, 2}, {2, 1, 0}, {0, 1, 2}}));
}

TEST(Rounds, MedianAndNinetyFivePercentInterval)
{
    // 1, 2, 3: mean 2, s 1 and t(2) = 4.302653, so 2 +- 2.484. For 0.5, 1, 2 the same on the logarithms:
    // exp(+-4.302653 ln 2 / sqrt 3). Forty of 0 and 2: 1 +- t(39) 2.022691 sqrt(40 / 39) / sqrt 40.
    std::vector<double> forty;
    for (int i = 0; i < 40; ++i)
        forty.push_back(i % 2 * 2.0);
    EXPECT_EQ(describe(difference_of({3, 1, 2}), 3), "2.000 -0.484 4.484");
    EXPECT_EQ(describe(ratio_of({2, 0.5, 1}), 3), "1.000 0.179 5.595");
    EXPECT_EQ(describe(difference_of(forty), 6), "1.000000 0.676110 1.323890");
    EXPECT_EQ(describe(spread_of({4, 1, 3, 2}), 1), "2.5 1.0 4.0");
}

TEST(Rounds, AVerdictOnlyWhereTheWholeIntervalLiesOnOneSideOfTheBound)
{
    const struct {
        double low, high;
        const char *at_least_098, *from_097_to_103, *against_one;
    } cases[] = {
        {0.98, 1.03, "met", "met", "no difference resolved"},
        {0.96, 0.98, "not resolved", "not resolved", "B is slower"},
        {0.9, 0.97, "missed", "not resolved", "B is slower"},
        {1.0, 1.04, "met", "not resolved", "no difference resolved"},
        {1.03, 1.04, "met", "not resolved", "B is faster"},
        {1.031, 2.0, "met", "missed", "B is faster"},
        {0.5, 0.96, "missed", "missed", "B is slower"},
        {0.5, 1.0, "not resolved", "not resolved", "no difference resolved"},
    };
    for (const auto& c : cases) {
        const figure_range interval{1.0, c.low, c.high};
        SCOPED_TRACE(describe(interval, 3));
        EXPECT_STREQ(target_verdict(interval, 0.98, std::numeric_limits<double>::infinity()), c.at_least_098);
        EXPECT_STREQ(target_verdict(interval, 0.97, 1.03), c.from_097_to_103);
        EXPECT_STREQ(compare_verdict(interval), c.against_one);
    }
}

} // namespace
