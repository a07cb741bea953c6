// A Color Change entry running on the real host: starting, colour steps,
// the eight transitions, beats, and entries whose state no longer fits.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kGreen = platform::rgb(0, 255, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);
constexpr int kCols = 4;
constexpr int kRows = 3;

class ColorChangeRun : public ::testing::Test {
  protected:
    EffectRecord& entry(bool b = false) { return bank(b).eff[0]; }
    BankState& bank(bool b = false) { return s.state().bank(b); }
    platform::Timer& stepTimer(bool b = false) { return b ? s.form().timerB1 : s.form().timerA1; }
    platform::Timer& secondTimer(bool b = false) { return b ? s.form().timerB2 : s.form().timerA2; }

    void makeEntry(const std::vector<uint32_t>& colors, int16_t mode = 0, int16_t level = 0,
                   int16_t speed = 50, bool b = false) {
        EffectRecord& e = entry(b);
        e.type = static_cast<int16_t>(EffectType::ColorChange);
        e.colorCount = static_cast<int16_t>(colors.size());
        e.colors = colors;
        e.colors.push_back(0);
        e.durations.assign(colors.size() + 1, 3.0);
        e.durations.back() = 0.0;
        e.fadeMode = mode;
        e.level = level;
        e.speed = speed;
    }
    void start(bool b = false) {
        ASSERT_TRUE(s.driver.select(b ? "MatrixForm.efxBList" : "MatrixForm.efxAList", 1));
    }
    // The colour step fires and arms the entry's transition.
    void stepOnce() { s.form().timerA1_Timer(); }
    void tick() { s.form().timerA2_Timer(); }
    uint32_t at(int x, int y) { return s.state().bankA.frame.rgb(x, y); }
    bool all(uint32_t c) {
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kCols; ++x)
                if (at(x, y) != c) return false;
        return true;
    }
    std::set<std::pair<int, int>> lit(uint32_t c) {
        std::set<std::pair<int, int>> cells;
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kCols; ++x)
                if (at(x, y) == c) cells.insert({x, y});
        return cells;
    }

    KavrelSession s{gridOptions(kCols, kRows)};
};

TEST_F(ColorChangeRun, ColoursFollowEachOtherAndWrap) {
    makeEntry({kRed, kGreen, kBlue});
    start();
    EXPECT_TRUE(all(kRed));
    EXPECT_EQ(entry().color1, kRed);
    EXPECT_TRUE(stepTimer().Enabled());
    EXPECT_EQ(stepTimer().Interval(), 3000);
    EXPECT_FALSE(bank().beat);
    s.wait(2999);
    EXPECT_TRUE(all(kRed));
    s.wait(1);
    EXPECT_TRUE(all(kGreen));
    EXPECT_EQ(entry().color2, kRed);
    s.wait(6000);
    EXPECT_TRUE(all(kRed));  // after the last colour the first
    EXPECT_EQ(entry().color2, kBlue);
    s.wait(3000);
    EXPECT_TRUE(all(kGreen));
    start();  // selecting again begins with the first colour
    EXPECT_TRUE(all(kRed));
    EXPECT_EQ(bank().colIdx, 0);
}

TEST_F(ColorChangeRun, BothBanksTimeTheSameEntryAlike) {
    makeEntry({kRed, kGreen}, 0, 0, 100, true);
    makeEntry({kRed, kGreen}, 0, 0, 100, false);
    start(false);
    start(true);
    EXPECT_EQ(stepTimer(false).Interval(), 1000);
    EXPECT_EQ(stepTimer(true).Interval(), 1000);
    EXPECT_EQ(s.state().bankB.frame.rgb(0, 0), kRed);
}

TEST_F(ColorChangeRun, OneColourStandsStillAndSpeedZeroIsKeptUntilTwo) {
    makeEntry({kBlue}, 0, 0, 0);
    bank().beat = true;
    start();
    EXPECT_TRUE(all(kBlue));
    EXPECT_FALSE(stepTimer().Enabled());
    EXPECT_EQ(entry().speed, 0);
    EXPECT_TRUE(bank().beat);  // left as it was

    makeEntry({kBlue, kRed}, 0, 0, 0);
    start();
    EXPECT_EQ(entry().speed, 50);
    EXPECT_EQ(stepTimer().Interval(), 3000);
}

TEST_F(ColorChangeRun, NoColoursBlackensShowsTheMessageOnceAndStops) {
    makeEntry({kRed, kGreen});
    start();
    bank().beat = true;
    makeEntry({});
    start();
    ASSERT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(s.messages()[0], "ColorChange not configured ! Please edit Effect.");
    EXPECT_TRUE(all(0));
    EXPECT_FALSE(stepTimer().Enabled());
    EXPECT_FALSE(secondTimer().Enabled());
    EXPECT_FALSE(bank().beat);
    // The black reached the output: the fader is at the middle, bank B blue.
    s.form().faderM.setValue(-100);
    EXPECT_EQ(s.state().frameM.rgb(0, 0), 0u);
}

TEST_F(ColorChangeRun, FadeRunsItsStepsInOneTickMoreAndEndsOnTheNewColour) {
    makeEntry({kRed, kBlue}, 1, 27);
    start();
    stepOnce();
    EXPECT_TRUE(bank().colorFadeRunning);
    EXPECT_EQ(bank().stepMax, 80);
    EXPECT_EQ(secondTimer().Interval(), 92);
    EXPECT_TRUE(secondTimer().Enabled());
    EXPECT_FALSE(stepTimer().Enabled());
    tick();
    EXPECT_TRUE(all(kRed));  // the first step shows the old colour
    for (int i = 1; i < 80; ++i) tick();
    // The last step is 79/80 of the way: floor(255 / 80) and floor(255 * 79 / 80).
    EXPECT_TRUE(all(platform::rgb(3, 0, 251)));
    EXPECT_DOUBLE_EQ(bank().colorFadeRatio, 79.0 / 80.0);
    EXPECT_TRUE(secondTimer().Enabled());
    tick();  // tick 81 ends it
    EXPECT_TRUE(all(kBlue));
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_FALSE(secondTimer().Enabled());
    EXPECT_TRUE(stepTimer().Enabled());
}

TEST_F(ColorChangeRun, FadeFloorsEqualPartsAsStored) {
    const uint32_t grey = platform::rgb(3, 3, 3);
    makeEntry({grey, grey}, 1, 0);
    start();
    stepOnce();
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_TRUE(all(platform::rgb(2, 2, 2)));  // 3 * 0.95 + 3 * 0.05 lies below 3
}

TEST_F(ColorChangeRun, RandomPaintsEveryCellOnceOnePerTick) {
    makeEntry({kRed, kGreen}, 2, 50);
    start();
    stepOnce();
    EXPECT_EQ(bank().stepMax, kCols * kRows);
    EXPECT_EQ(secondTimer().Interval(), 425);  // 5100 / 12
    std::set<std::pair<int, int>> before;
    for (int i = 0; i < kCols * kRows; ++i) {
        tick();
        const auto now = lit(kGreen);
        ASSERT_EQ(now.size(), before.size() + 1) << i;
        EXPECT_TRUE(std::includes(now.begin(), now.end(), before.begin(), before.end()));
        before = now;
    }
    EXPECT_TRUE(bank().colorFadeRunning);
    tick();
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_TRUE(stepTimer().Enabled());
}

// In every column the painted cells are a run from the filling end.
void expectColumnsFillFrom(ColorChangeRun& t, const std::set<std::pair<int, int>>& cells,
                           bool fromTop) {
    for (int x = 0; x < kCols; ++x) {
        int n = 0;
        for (int y = 0; y < kRows; ++y) n += cells.count({x, y}) ? 1 : 0;
        for (int k = 0; k < n; ++k) {
            const int y = fromTop ? k : kRows - 1 - k;
            EXPECT_TRUE(cells.count({x, y})) << x << "," << y;
        }
    }
    (void)t;
}

TEST_F(ColorChangeRun, FillDownAndFillUpFillColumnsFromTheirEnd) {
    for (int16_t mode : {int16_t{3}, int16_t{4}}) {
        SCOPED_TRACE(mode);
        makeEntry({kRed, kGreen}, mode, 50);
        start();
        stepOnce();
        for (int i = 0; i < kCols * kRows; ++i) {
            tick();
            const auto cells = lit(kGreen);
            ASSERT_EQ(cells.size(), static_cast<size_t>(i + 1));
            expectColumnsFillFrom(*this, cells, mode == 3);
        }
        tick();
        EXPECT_FALSE(bank().colorFadeRunning);
    }
}

TEST_F(ColorChangeRun, ScrollsPaintRowsAndColumnsInTheirOrder) {
    struct Case {
        int16_t mode;
        int steps;
        std::pair<int, int> firstCell, notFirst;
    };
    const Case cases[] = {{6, kRows, {0, 0}, {0, kRows - 1}},
                          {5, kRows, {0, kRows - 1}, {0, 0}},
                          {8, kCols, {0, 0}, {kCols - 1, 0}},
                          {7, kCols, {kCols - 1, 0}, {0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        makeEntry({kRed, kGreen}, c.mode, 100);
        start();
        stepOnce();
        EXPECT_EQ(bank().stepMax, c.steps);
        tick();
        const auto cells = lit(kGreen);
        EXPECT_EQ(cells.size(), static_cast<size_t>(c.mode <= 6 ? kCols : kRows));
        EXPECT_TRUE(cells.count(c.firstCell));
        EXPECT_FALSE(cells.count(c.notFirst));
        for (int i = 1; i < c.steps; ++i) tick();
        EXPECT_TRUE(all(kGreen));
        EXPECT_TRUE(bank().colorFadeRunning);
        tick();
        EXPECT_FALSE(bank().colorFadeRunning);
    }
    makeEntry({kRed, kGreen}, 6, 100);
    start();
    stepOnce();
    EXPECT_EQ(secondTimer().Interval(), 33);  // 100 ms over 3 rows
}

TEST_F(ColorChangeRun, AModeChosenDuringATransitionWaitsForItsEnd) {
    makeEntry({kRed, kGreen}, 6, 100);
    start();
    stepOnce();
    bank().pendingFade = 0;
    tick();
    EXPECT_EQ(entry().fadeMode, 6);
    for (int i = 0; i < kRows; ++i) tick();
    EXPECT_EQ(entry().fadeMode, 0);
    s.form().timerA1_Timer();
    EXPECT_TRUE(all(kRed));  // the next change is at once
    EXPECT_FALSE(bank().colorFadeRunning);
}

TEST_F(ColorChangeRun, BeatsAdvanceAtOnceAndTheLockOutDropsASecondBeat) {
    makeEntry({kRed, kGreen, kBlue});
    entry().beat = 1;
    start();
    EXPECT_FALSE(stepTimer().Enabled());
    EXPECT_TRUE(bank().beat);
    secondTimer().setInterval(50);
    s.form().beatStepA();
    EXPECT_TRUE(all(kGreen));
    EXPECT_EQ(entry().color2, kRed);
    EXPECT_TRUE(secondTimer().Enabled());
    EXPECT_FALSE(bank().colorFadeRunning);  // a beat arms nothing
    s.wait(49);
    s.form().beatStepA();
    EXPECT_TRUE(all(kGreen));  // dropped
    s.wait(1);                 // the lock-out tick only stops the timer
    EXPECT_FALSE(secondTimer().Enabled());
    EXPECT_TRUE(all(kGreen));
    EXPECT_FALSE(stepTimer().Enabled());
    s.form().beatStepA();
    EXPECT_TRUE(all(kBlue));
}

TEST_F(ColorChangeRun, ColourIndexOutsideTheListIsReadSafely) {
    makeEntry({kRed, kGreen});
    start();
    bank().colIdx = 2;  // equal to the count: the spare, black
    stepOnce();
    EXPECT_EQ(entry().color2, 0u);
    EXPECT_EQ(bank().colIdx, 0);
    EXPECT_TRUE(all(kRed));
    bank().colIdx = 7;  // beyond it: back to the first colour first
    stepOnce();
    EXPECT_EQ(entry().color2, kRed);
    EXPECT_EQ(bank().colIdx, 1);
    EXPECT_TRUE(all(kGreen));
    entry().colors.resize(1);  // arrays shorter than the count
    bank().colIdx = 0;
    stepOnce();
    EXPECT_EQ(entry().color1, 0u);
}

TEST_F(ColorChangeRun, SecondTimerTicksWithoutAFittingTransition) {
    makeEntry({kRed, kGreen}, 3, 50);
    start();
    // No transition armed: the tick only stops the timer.
    stepTimer().setEnabled(false);
    secondTimer().setEnabled(true);
    tick();
    EXPECT_TRUE(all(kRed));
    EXPECT_FALSE(stepTimer().Enabled());

    // An armed transition whose order was lost, or whose columns are full,
    // ends as its last step does.
    stepOnce();
    bank().pixelOrder.clear();
    tick();
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_TRUE(all(kGreen));
    EXPECT_TRUE(stepTimer().Enabled());

    stepOnce();
    bank().freeCell.fill(false);
    tick();
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_TRUE(all(kRed));
}

TEST_F(ColorChangeRun, ACutOffTransitionLeavesNoRunningFlag) {
    makeEntry({kRed, kGreen}, 1, 0);
    start();
    stepOnce();
    tick();
    ASSERT_TRUE(bank().colorFadeRunning);
    start();
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_FALSE(secondTimer().Enabled());
}

TEST_F(ColorChangeRun, AnUnknownFadeModeFreezesTheEntry) {
    makeEntry({kRed, kGreen, kBlue}, 9);
    start();
    secondTimer().setEnabled(true);
    stepOnce();
    EXPECT_EQ(bank().colIdx, 1);
    EXPECT_EQ(entry().color1, kGreen);
    EXPECT_TRUE(all(kRed));
    EXPECT_FALSE(secondTimer().Enabled());
    EXPECT_FALSE(stepTimer().Enabled());
}

}  // namespace
}  // namespace kavrel::testing
