#include "effects/ticker/ticker_step.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/light_painter.h"
#include "tests/effects/ticker/ticker_fixture.h"

namespace kavrel {
namespace {

using testing::TickerBench;

// Builds, places and clears to the background as the build does, then runs
// `steps` steps (the build's own included).
void run(TickerBench& t, int steps) {
    placeStrip(t.bank, t.shape, t.entry, t.cols, t.rows);
    t.bank.step = 0;
    fillLights(t.bank.frame, t.cols, t.rows, t.entry.color2);
    for (int i = 0; i < steps; ++i) stepTickerFrame(t.bank, t.shape, t.entry, t.cols, t.rows);
}

// The strip line fed at step s (from 0): forward for up and left, backward
// after the first for down and right.
int lineAt(int s, int max, bool forward) {
    return forward ? s % max : (max - s % max) % max;
}

TEST(TickerStep, ScrollsInFourDirectionsAndWraps) {
    for (int16_t d : std::initializer_list<int16_t>{1, 3, 5, 7}) {
        for (int steps : {4, 17}) {
            TickerBench t(8, 8);
            t.pixel("AB", d);
            const int max = t.bank.stepMax;
            run(t, steps);
            const bool forward = d == 1 || d == 3;
            for (int k = 0; k < 8; ++k) {
                const int s = steps - 1 - k;  // the step that fed what is k lights in
                std::string want, got;
                if (d == 3 || d == 7) {
                    const int x = d == 3 ? 7 - k : k;
                    got = t.frameColumn(x).substr(0, 5);
                    want = s < 0 ? "....." : t.stripColumn(lineAt(s, max, forward), 0, 4);
                } else {
                    const int y = d == 1 ? 7 - k : k;
                    got = t.frameRow(y).substr(0, 4);
                    want = s < 0 ? "...." : t.stripRow(lineAt(s, max, forward), 0, 3);
                }
                EXPECT_EQ(got, want) << "direction " << d << " steps " << steps << " k " << k;
            }
            if (d == 3 || d == 7) {
                EXPECT_EQ(t.frameRow(6), "........");  // outside the band
            }
        }
    }
}

TEST(TickerStep, OffsetOneHundredLeavesTheLastColumnOff) {
    TickerBench t(8, 8);
    t.pixel("A", 1);
    t.entry.level = 100;
    run(t, 4);
    EXPECT_EQ(t.bank.posX, 5);
    // Strip columns 0..2 land at 5..7; column 3 would be at 8.
    EXPECT_EQ(t.frameRow(7).substr(5), t.stripRow(3, 0, 2));
}

TEST(TickerStep, OtherDirectionsMoveNothingAndOneRowScrollsInPlace) {
    TickerBench t(6, 6);
    t.pixel("AB", 3);
    t.entry.direction = 2;
    run(t, 3);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(t.frameRow(y), "......");

    TickerBench one(6, 1);
    one.pixel("A", 1);
    run(one, 2);  // the second line of the strip replaces the first
    EXPECT_EQ(one.frameRow(0).substr(0, 4), one.stripRow(1, 0, 3));
    one.entry.direction = 5;
    run(one, 2);
    EXPECT_EQ(one.frameRow(0).substr(0, 4), one.stripRow(one.bank.stepMax - 1, 0, 3));
}

TEST(TickerStep, LetterModeShowsEachLetterInTurn) {
    TickerBench t(12, 12);
    t.entry.letterMode = 1;
    t.pixel("AB", 1);
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    ASSERT_EQ(t.bank.posY, 3);
    const std::string a = ".##.", b = "###.";
    for (const std::string& want : {a, b, a, b}) {
        stepTickerFrame(t.bank, t.shape, t.entry, 12, 12);
        EXPECT_EQ(t.frameRow(3).substr(0, 4), want);
    }
    t.pixel("A", 1);
    t.bank.step = 0;
    for (int i = 0; i < 3; ++i) {
        stepTickerFrame(t.bank, t.shape, t.entry, 12, 12);
        EXPECT_EQ(t.bank.step, 0);
    }
}

TEST(TickerStep, SystemFontLetterModeAdvancesByTheLetterHeight) {
    TickerBench t(12, 12);
    t.entry.letterMode = 1;
    t.entry.direction = 1;
    ASSERT_TRUE(t.system("ABC", 1, 8));
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 2);
    t.bank.fontSize = -1;  // a live change must not reach the running strip
    for (const char* want : {"#...", "##..", "###.", "#..."}) {
        stepTickerFrame(t.bank, t.shape, t.entry, 12, 12);
        EXPECT_EQ(t.frameRow(2).substr(0, 4), want);
    }
}

TEST(TickerStep, EmptyOrForeignStripsNeverReadOutside) {
    for (int16_t d : std::initializer_list<int16_t>{1, 3, 5, 7}) {
        TickerBench t(5, 5);
        clearStrip(t.bank, t.shape);
        t.entry.direction = d;
        run(t, 4);
        EXPECT_EQ(t.bank.step, 0);
        for (int y = 0; y < 5; ++y) EXPECT_EQ(t.frameRow(y), ".....");
    }
    // A strip built for another layout, and positions nobody set.
    TickerBench t(10, 10);
    t.pixel("ABC", 3);
    t.entry.direction = 1;
    t.bank.step = 30000;
    t.bank.posX = 7;
    for (int i = 0; i < 40; ++i) stepTickerFrame(t.bank, t.shape, t.entry, 10, 10);
    t.entry.letterMode = 1;
    t.bank.step = -5;
    for (int i = 0; i < 40; ++i) stepTickerFrame(t.bank, t.shape, t.entry, 10, 10);
    EXPECT_GE(t.bank.step, 0);
    EXPECT_LT(t.bank.step, t.bank.stepMax);
}

}  // namespace
}  // namespace kavrel
