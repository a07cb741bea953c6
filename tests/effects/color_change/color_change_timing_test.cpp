// The numbers of a Color Change entry: colour intervals, transition steps and
// intervals, and the random cell order.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#include "effects/color_change/color_change_timing.h"
#include "platform/runtime/random.h"

namespace kavrel {
namespace {

TEST(ColorChangeTiming, ColourIntervalScalesBySpeed) {
    const std::pair<int, int32_t> table[] = {{0, 9000},  {25, 6000}, {50, 3000},
                                             {60, 2143}, {75, 1500}, {100, 1000}};
    for (const auto& [speed, ms] : table) EXPECT_EQ(colourInterval(3.0, speed), ms) << speed;
    EXPECT_EQ(colourInterval(0.5, 100), 167);
    // 2.5 ms and 3.5 ms round half to even.
    EXPECT_EQ(colourInterval(0.0025, 50), 2);
    EXPECT_EQ(colourInterval(0.0035, 50), 4);
}

TEST(ColorChangeTiming, ColourIntervalStaysWithinTheTimersRange) {
    EXPECT_EQ(colourInterval(1e10, 50), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(colourInterval(1e10, 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(colourInterval(0.0, 50), 1);
    EXPECT_EQ(colourInterval(-5.0, 50), 1);
    EXPECT_EQ(colourInterval(std::numeric_limits<double>::quiet_NaN(), 50), 1);
    EXPECT_EQ(colourInterval(3.0, 32767), 2);  // speeds beyond 100 from a file
}

TEST(ColorChangeTiming, StepsByModeAndLevel) {
    EXPECT_EQ(transitionSteps(1, 29, 12, 12), 80);
    EXPECT_EQ(transitionSteps(1, 30, 12, 12), 50);
    EXPECT_EQ(transitionSteps(1, 59, 12, 12), 50);
    EXPECT_EQ(transitionSteps(1, 60, 12, 12), 30);
    EXPECT_EQ(transitionSteps(1, 89, 12, 12), 30);
    EXPECT_EQ(transitionSteps(1, 90, 12, 12), 15);
    EXPECT_EQ(transitionSteps(1, 100, 12, 12), 15);
    for (int16_t mode : {int16_t{2}, int16_t{3}, int16_t{4}})
        EXPECT_EQ(transitionSteps(mode, 0, 50, 50), 2500);
    EXPECT_EQ(transitionSteps(5, 0, 7, 3), 3);
    EXPECT_EQ(transitionSteps(6, 0, 7, 3), 3);
    EXPECT_EQ(transitionSteps(7, 0, 7, 3), 7);
    EXPECT_EQ(transitionSteps(8, 0, 7, 3), 7);
    for (int16_t mode : {int16_t{0}, int16_t{9}, int16_t{-1}})
        EXPECT_EQ(transitionSteps(mode, 0, 7, 3), 0);
}

TEST(ColorChangeTiming, TransitionIntervalRoundsHalfToEven) {
    EXPECT_EQ(transitionInterval(0, 80), 126);
    EXPECT_EQ(transitionInterval(27, 80), 92);  // 92.5
    EXPECT_EQ(transitionInterval(7, 80), 118);  // 117.5
    EXPECT_EQ(transitionInterval(60, 30), 137);
    EXPECT_EQ(transitionInterval(100, 15), 7);
    EXPECT_EQ(transitionInterval(50, 144), 35);
    EXPECT_EQ(transitionInterval(50, 12), 425);
    EXPECT_EQ(transitionInterval(100, 8), 12);  // 12.5
    EXPECT_EQ(transitionInterval(98, 8), 38);   // 37.5
    // Below 1 ms and levels beyond 101 still give a running timer.
    EXPECT_EQ(transitionInterval(100, 2500), 1);
    EXPECT_EQ(transitionInterval(500, 15), 1);
    EXPECT_EQ(transitionInterval(-32768, 1), 3286900);
}

bool isPermutation(const std::vector<int32_t>& order, int32_t n) {
    if (order.size() != static_cast<size_t>(n) + 1 || order.back() != 0) return false;
    std::vector<int32_t> sorted(order.begin(), order.end() - 1);
    std::sort(sorted.begin(), sorted.end());
    std::vector<int32_t> expected(static_cast<size_t>(n));
    std::iota(expected.begin(), expected.end(), 0);
    return sorted == expected;
}

TEST(ColorChangeTiming, ShuffleIsAPermutationEvenAtTheEndsOfTheGenerator) {
    platform::Random random;
    std::vector<int32_t> order;
    // r = 0 gives j = 0; r just below 1 gives j = n - 1.
    random.script({0.0, 0.0, 0.0, 0.0});
    shuffleCells(order, 4, random);
    EXPECT_EQ(order, (std::vector<int32_t>{3, 0, 1, 2, 0}));
    random.script({0.9999999, 0.9999999, 0.0, 0.0});
    shuffleCells(order, 4, random);
    EXPECT_EQ(order, (std::vector<int32_t>{1, 0, 3, 2, 0}));
    // Partners 1, 3, 0 (0.25 * 4 - 0.5 = 0.5 goes to even) and 2.
    random.script({0.375, 0.875, 0.25, 0.625});
    shuffleCells(order, 4, random);
    EXPECT_EQ(order, (std::vector<int32_t>{2, 3, 0, 1, 0}));
    for (int32_t n : {1, 2, 144, 2500}) {
        shuffleCells(order, n, random);
        EXPECT_TRUE(isPermutation(order, n)) << n;
    }
}

}  // namespace
}  // namespace kavrel
