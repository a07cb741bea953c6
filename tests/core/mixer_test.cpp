#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "core/mixer.h"
#include "platform/drawing/system_colors.h"

namespace kavrel {
namespace {

class CoreMixer : public ::testing::Test {
  protected:
    void SetUp() override {
        state.sizeGrid(7, 5);
        std::mt19937 gen(1234);
        std::uniform_int_distribution<int> byte(0, 255);
        for (BankState* b : {&state.bankA, &state.bankB})
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x)
                    b->frame.setRgb(x, y, static_cast<uint8_t>(byte(gen)),
                                    static_cast<uint8_t>(byte(gen)),
                                    static_cast<uint8_t>(byte(gen)));
    }

    void mix(double f, int16_t type, uint32_t middle = platform::rgb(90, 160, 30)) {
        state.fadeType = type;
        mixFrames(state, f, middle, rng);
    }

    bool outputEquals(const Frame& bank) const {
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                if (state.frameM.rgb(x, y) != bank.rgb(x, y)) return false;
        return true;
    }

    std::set<std::pair<int, int>> bCells() const {
        std::set<std::pair<int, int>> cells;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                if (state.mixMap.at(x, y) == 1.0f) cells.insert({x, y});
        return cells;
    }

    SharedState state;
    platform::Random rng{99};
};

TEST_F(CoreMixer, EveryTypeShowsBankAAtZeroAndBankBAtOne) {
    for (int16_t t = 0; t < kFadeTypeCount; ++t) {
        SCOPED_TRACE(kFadeTypeNames[static_cast<size_t>(t)]);
        state.dirtyDmx = state.dirtySim = state.dirtyM = false;
        mix(0.0, t);
        EXPECT_TRUE(outputEquals(state.bankA.frame));
        EXPECT_TRUE(state.dirtyDmx && state.dirtySim && state.dirtyM);
        mix(1.0, t);
        EXPECT_TRUE(outputEquals(state.bankB.frame));
        mix(0.4, t);  // leave the middle, then come back
        mix(0.0, t);
        EXPECT_TRUE(outputEquals(state.bankA.frame));
    }
}

TEST_F(CoreMixer, MixCellMatchesMixFramesForEveryType) {
    const double faders[] = {0.0, 0.13, 0.37, 0.5, 0.500001, 0.74, 0.99, 1.0};
    for (int16_t t = 0; t < kFadeTypeCount; ++t)
        for (double f : faders) {
            SCOPED_TRACE(testing::Message() << kFadeTypeNames[static_cast<size_t>(t)] << " " << f);
            mix(f, t);
            const Frame whole = state.frameM;
            state.frameM.clear();
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x) mixCell(state, f, x, y, platform::rgb(90, 160, 30));
            EXPECT_EQ(state.frameM, whole);
        }
}

TEST_F(CoreMixer, MaskTypesSwitchARoundedCountOfCellsMonotonically) {
    const int n = 35;
    for (int16_t t = 3; t <= 9; ++t) {
        SCOPED_TRACE(kFadeTypeNames[static_cast<size_t>(t)]);
        ASSERT_TRUE(isMaskFade(t));
        mix(0.0, t);
        std::set<std::pair<int, int>> previous;
        for (int i = 1; i <= 64; ++i) {
            const double f = i / 64.0;
            mix(f, t);
            const auto cells = bCells();
            EXPECT_EQ(static_cast<double>(cells.size()), std::nearbyint(f * n)) << f;
            EXPECT_TRUE(
                std::includes(cells.begin(), cells.end(), previous.begin(), previous.end()));
            previous = cells;
        }
    }
    EXPECT_FALSE(isMaskFade(0));
    EXPECT_FALSE(isMaskFade(10));
}

TEST_F(CoreMixer, WipesStartAtTheirSide) {
    // With exactly one row (7 cells) or one column (5 cells) switched.
    struct Case {
        FadeType type;
        int count;
        bool (*inFirstLine)(int x, int y);
    };
    const Case cases[] = {
        {FadeType::FlowDown, 7, [](int, int y) { return y == 0; }},
        {FadeType::ScrollDown, 7, [](int, int y) { return y == 0; }},
        {FadeType::FillUp, 7, [](int, int y) { return y == 4; }},
        {FadeType::ScrollUp, 7, [](int, int y) { return y == 4; }},
        {FadeType::ScrollLeft, 5, [](int x, int) { return x == 6; }},
        {FadeType::ScrollRight, 5, [](int x, int) { return x == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        mix(c.count / 35.0, static_cast<int16_t>(c.type));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(state.mixMap.at(x, y) == 1.0f, c.inFirstLine(x, y)) << x << "," << y;
    }
}

TEST_F(CoreMixer, FlowAndFillSnakeThroughTheRows) {
    // One cell past the first row: the second row starts at the far end.
    mix(8 / 35.0, static_cast<int16_t>(FadeType::FlowDown));
    EXPECT_EQ(state.mixMap.at(6, 1), 1.0f);
    EXPECT_EQ(state.mixMap.at(0, 1), 0.0f);
    mix(8 / 35.0, static_cast<int16_t>(FadeType::FillUp));
    EXPECT_EQ(state.mixMap.at(6, 3), 1.0f);
    EXPECT_EQ(state.mixMap.at(0, 3), 0.0f);
    // Wipes keep one direction: the next row starts at the left again.
    mix(8 / 35.0, static_cast<int16_t>(FadeType::ScrollDown));
    EXPECT_EQ(state.mixMap.at(0, 1), 1.0f);
}

TEST_F(CoreMixer, RandomOrderIsStableUntilAnEndIsReached) {
    const auto random = static_cast<int16_t>(FadeType::Random);
    mix(0.4, random);
    const auto first = bCells();
    const uint64_t drawsAfterFirst = rng.draws();
    EXPECT_GT(drawsAfterFirst, 0u);
    mix(0.4, random);
    EXPECT_EQ(bCells(), first);
    EXPECT_EQ(rng.draws(), drawsAfterFirst);

    // The ends use no random numbers; the next partial mix draws a new order.
    mix(1.0, random);
    mix(1.0, random);
    EXPECT_EQ(rng.draws(), drawsAfterFirst);
    mix(0.4, random);
    EXPECT_GT(rng.draws(), drawsAfterFirst);
    EXPECT_EQ(bCells().size(), first.size());

    // So does a change of type.
    const uint64_t before = rng.draws();
    mix(0.4, static_cast<int16_t>(FadeType::FlowDown));
    mix(0.4, random);
    EXPECT_GT(rng.draws(), before);

    // Choosing a type resets the mask without mixing; coming back to Random
    // still draws a new order.
    const uint64_t beforeChoice = rng.draws();
    resetMixMap(state, 0.4);
    mix(0.4, random);
    EXPECT_GT(rng.draws(), beforeChoice);
}

TEST_F(CoreMixer, CrossFadeRoundsHalfToEven) {
    state.bankA.frame.setRgb(0, 0, 0, 0, 10);
    state.bankB.frame.setRgb(0, 0, 1, 3, 20);
    mix(0.5, static_cast<int16_t>(FadeType::CrossFade));
    EXPECT_EQ(state.frameM.rgb(0, 0), platform::rgb(0, 2, 15));  // 0.5 -> 0, 1.5 -> 2
}

TEST_F(CoreMixer, BlackAndColorFadePassTheirMiddle) {
    mix(0.5, static_cast<int16_t>(FadeType::BlackFade));
    EXPECT_TRUE(outputEquals(Frame(7, 5)));

    // System colour 13 is translated to its RGB value.
    state.fadeType = static_cast<int16_t>(FadeType::ColorFade);
    mixFrames(state, 0.5, 0x8000000Du, rng);
    EXPECT_EQ(state.frameM.rgb(3, 2), platform::sysColor(13));
    EXPECT_EQ(state.frameM.rgb(6, 4), platform::sysColor(13));

    state.bankA.frame.setRgb(0, 0, 200, 0, 0);
    mixFrames(state, 0.25, platform::rgb(100, 0, 0), rng);
    EXPECT_EQ(state.frameM.at(0, 0, 0), 150);
}

TEST_F(CoreMixer, AddSaturates) {
    state.bankA.frame.setRgb(0, 0, 200, 10, 0);
    state.bankB.frame.setRgb(0, 0, 100, 20, 255);
    const auto add = static_cast<int16_t>(FadeType::Add);
    mix(0.25, add);
    EXPECT_EQ(state.frameM.rgb(0, 0), platform::rgb(250, 20, 128));  // 127.5 -> 128
    mix(0.5, add);
    EXPECT_EQ(state.frameM.rgb(0, 0), platform::rgb(255, 30, 255));
    mix(0.75, add);
    EXPECT_EQ(state.frameM.rgb(0, 0), platform::rgb(200, 25, 255));
}

TEST_F(CoreMixer, BadInputFallsBackSafely) {
    mix(std::nan(""), static_cast<int16_t>(FadeType::Add));
    EXPECT_TRUE(outputEquals(state.bankA.frame));
    mix(7.5, static_cast<int16_t>(FadeType::ScrollUp));
    EXPECT_TRUE(outputEquals(state.bankB.frame));

    mix(0.5, 42);  // unknown type mixes as CrossFade
    const Frame unknown = state.frameM;
    mix(0.5, static_cast<int16_t>(FadeType::CrossFade));
    EXPECT_EQ(state.frameM, unknown);

    mixCell(state, 0.5, 7, 0, 0);  // outside the grid
    mixCell(state, 0.5, -1, 0, 0);
    EXPECT_EQ(state.frameM, unknown);
}

TEST_F(CoreMixer, MixCellUsesTheCurrentMask) {
    state.fadeType = static_cast<int16_t>(FadeType::ScrollDown);
    resetMixMap(state, 1.0);
    mixCell(state, 0.0, 2, 3, 0);
    EXPECT_EQ(state.frameM.rgb(2, 3), state.bankB.frame.rgb(2, 3));
    resetMixMap(state, -3.0);
    EXPECT_EQ(state.mixMap.at(6, 4), 0.0f);
}

// Single lights, rows and columns: every type keeps its endpoints, the cell mix
// agrees with the full mix, and the mask types switch a rounded count of lights
// that only grows with the fader.
TEST(CoreMixerOddGrids, EveryTypeOnSingleLightsRowsAndColumns) {
    const int sizes[][2] = {{1, 1}, {1, 50}, {50, 1}, {2, 1}};
    const uint32_t middle = 0x80000005u;  // a system colour
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        SharedState s;
        s.sizeGrid(w, h);
        platform::Random rng{7};
        std::mt19937 gen(static_cast<unsigned>(w * 100 + h));
        for (BankState* b : {&s.bankA, &s.bankB})
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    b->frame.setRgb(x, y, static_cast<uint8_t>(gen()), static_cast<uint8_t>(gen()),
                                    static_cast<uint8_t>(gen()));
        const auto shows = [&](const Frame& bank) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (s.frameM.rgb(x, y) != bank.rgb(x, y)) return false;
            return true;
        };

        for (int16_t t = 0; t < kFadeTypeCount; ++t) {
            SCOPED_TRACE(testing::Message()
                         << w << "x" << h << " " << kFadeTypeNames[static_cast<size_t>(t)]);
            s.fadeType = t;
            size_t previousB = 0;
            for (int i = 0; i <= 20; ++i) {
                const double f = i / 20.0;
                mixFrames(s, f, middle, rng);
                if (i == 0) {
                    EXPECT_TRUE(shows(s.bankA.frame));
                }
                if (i == 20) {
                    EXPECT_TRUE(shows(s.bankB.frame));
                }
                const Frame whole = s.frameM;
                s.frameM.clear();
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) mixCell(s, f, x, y, middle);
                EXPECT_EQ(s.frameM, whole) << f;
                if (!isMaskFade(t)) continue;
                size_t countB = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) countB += s.mixMap.at(x, y) == 1.0f ? 1 : 0;
                EXPECT_EQ(static_cast<double>(countB), std::nearbyint(f * w * h)) << f;
                EXPECT_GE(countB, previousB) << f;
                previousB = countB;
            }
        }
    }
}

}  // namespace
}  // namespace kavrel
