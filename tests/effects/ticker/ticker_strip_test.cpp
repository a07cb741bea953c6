#include "effects/ticker/ticker_strip.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/drawing/system_colors.h"
#include "tests/effects/ticker/ticker_fixture.h"

namespace kavrel {
namespace {

using testing::TickerBench;

TEST(TickerStrip, OneLetterHorizontalAndMirrored) {
    TickerBench t;
    t.pixel("A", 3);
    EXPECT_EQ(t.bank.tickerWidth, 4);
    EXPECT_EQ(t.bank.stepMax, 5);
    EXPECT_EQ(t.bank.fontSize, 5);
    EXPECT_EQ(t.bank.tickerBuf.cols(), 9);  // columns 0..total + width
    EXPECT_EQ(t.bank.tickerBuf.rows(), 5);
    EXPECT_EQ(t.stripRow(0, 0, 9), ".##......0");
    EXPECT_EQ(t.stripRow(3, 0, 4), "####.");
    EXPECT_EQ(t.stripRow(5, 0, 9), "0000000000");
    t.pixel("A", 3, 1);
    EXPECT_EQ(t.stripRow(0, 0, 4), "..##.");
}

TEST(TickerStrip, EightLayoutsOfTwoLetters) {
    TickerBench t;
    struct Case {
        int16_t direction, mirror, backward;
        std::string first, second;  // top rows of the two letters
    };
    // Horizontal: row 0 of the whole strip; vertical: row 0 and row 6.
    const Case cases[] = {
        {3, 0, 0, ".##..###......", ""}, {7, 1, 0, "..##...###....", ""},
        {3, 0, 1, "###...##......", ""}, {7, 1, 1, "..###..##.....", ""},
        {1, 0, 0, ".##..", "###.."},     {5, 1, 0, "..##.", "..###"},
        {1, 0, 1, "###..", ".##.."},     {5, 1, 1, "..###", "..##."},
    };
    for (const Case& c : cases) {
        t.pixel("AB", c.direction, c.mirror, c.backward);
        const std::string where = std::to_string(c.direction) + "/" + std::to_string(c.mirror) +
                                  "/" + std::to_string(c.backward);
        if (c.second.empty()) {
            EXPECT_EQ(t.bank.stepMax, 10) << where;
            EXPECT_EQ(t.stripRow(0, 0, 13), c.first) << where;
        } else {
            EXPECT_EQ(t.bank.stepMax, 12) << where;
            EXPECT_EQ(t.stripRow(0, 0, 4), c.first) << where;
            EXPECT_EQ(t.stripRow(6, 0, 4), c.second) << where;
            EXPECT_EQ(t.stripRow(5, 0, 3), "....") << where;  // the gap row
        }
    }
}

TEST(TickerStrip, UmlautsAreOneGlyphEachInEveryLayout) {
    TickerBench t;
    for (int16_t d : std::initializer_list<int16_t>{1, 3, 5, 7})
        for (int16_t m : std::initializer_list<int16_t>{0, 1})
            for (int16_t b : std::initializer_list<int16_t>{0, 1}) {
                t.pixel("\xC3\x84\xC3\xB6", d, m, b);  // "Äö"
                const bool vertical = d == 1 || d == 5;
                EXPECT_EQ(t.bank.stepMax, vertical ? 12 : 11) << d << m << b;
                EXPECT_EQ(t.bank.tickerWidth, 5);
            }
    t.pixel("\xC3\x84", 3);
    EXPECT_EQ(t.stripRow(3, 0, 5), "#####.");  // the wide A's cross bar
}

TEST(TickerStrip, HashLightsItsSpacingColumnAndEmptyTextBuildsNothing) {
    TickerBench t;
    t.pixel("#A", 3);
    EXPECT_EQ(t.stripRow(1, 0, 9), "######..#.");  // bit 4 spills into the gap
    t.pixel("", 3);
    EXPECT_EQ(t.bank.stepMax, 0);
    EXPECT_EQ(t.bank.tickerBuf.cols(), 0);
    EXPECT_EQ(t.bank.tickerBuf.rows(), 5);
    t.pixel("", 1);
    EXPECT_EQ(t.bank.tickerBuf.cols(), 0);
    EXPECT_EQ(t.bank.tickerBuf.rows(), 0);
}

TEST(TickerStrip, LetterModeUsesTheVerticalLayoutWhateverTheDirection) {
    TickerBench t;
    t.entry.letterMode = 1;
    t.pixel("AB", 3);
    EXPECT_EQ(t.bank.stepMax, 12);
    EXPECT_EQ(t.stripRow(6, 0, 4), "###..");
}

TEST(TickerStrip, PlacementByLevel) {
    TickerBench t(12, 12);
    t.pixel("A", 3);
    t.entry.level = 0;
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 0);
    t.entry.level = 100;  // free room 7: one past the last whole fit
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 8);
    EXPECT_EQ(t.bank.posX, 0);
    t.entry.level = 50;
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 4);
    t.entry.level = -300;  // from a project file
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 0);
    t.entry.level = 900;
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 8);

    t.pixel("A", 1);
    t.entry.level = 100;
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posX, 9);
    placeStrip(t.bank, t.shape, t.entry, 3, 12);  // no room: 0
    EXPECT_EQ(t.bank.posX, 0);

    t.entry.letterMode = 1;
    t.entry.level = 0;
    t.pixel("A", 1);
    placeStrip(t.bank, t.shape, t.entry, 12, 12);
    EXPECT_EQ(t.bank.posY, 3);
    placeStrip(t.bank, t.shape, t.entry, 12, 4);
    EXPECT_EQ(t.bank.posY, 0);
}

TEST(TickerStrip, LongTextsStayWithinSixteenBits) {
    TickerBench t;
    t.pixel(std::string(40000, 'W'), 1);
    EXPECT_EQ(t.bank.stepMax, 6 * static_cast<int>(kMaxTickerChars));
    t.pixel(std::string(40000, 'W'), 3);
    EXPECT_EQ(t.bank.stepMax, 6 * static_cast<int>(kMaxTickerChars));
    ASSERT_TRUE(t.system(std::string(40000, 'C'), 3, 20));
    // 1023 whole letters fit 32 pixels each: the last one ends at 4090.
    EXPECT_EQ(t.bank.stepMax, 4094);
    ASSERT_TRUE(t.system(std::string(40000, 'C'), 1, 32000));
    EXPECT_EQ(t.shape.letterHeight, kMaxFontSize);
    EXPECT_LE(int64_t{t.bank.tickerBuf.cols() + 1} * (t.bank.tickerBuf.rows() + 1),
              kMaxCanvasPixels + 2 * 32767);
    EXPECT_EQ(t.bank.stepMax, 5005);  // five letters fit the canvas limit
}

TEST(TickerStrip, SystemFontTrimsToTheLastTextColumn) {
    TickerBench t;
    ASSERT_TRUE(t.system("ABC", 3, 10));
    // C ends at column 10: width 12, strip and step length 14.
    EXPECT_EQ(t.bank.tickerWidth, 12);
    EXPECT_EQ(t.bank.stepMax, 14);
    EXPECT_EQ(t.bank.tickerBuf.cols(), 14);
    EXPECT_EQ(t.bank.tickerBuf.rows(), 10);
    EXPECT_EQ(t.stripRow(0, 0, 14), "#...##..###...0");
    EXPECT_EQ(t.stripRow(9, 0, 13), "#...##..###...");
    EXPECT_EQ(t.shape.letterHeight, 10);
    // The sampling box is back at the grid size.
    EXPECT_EQ(t.window.mini.surface().width(), 12);
    EXPECT_EQ(t.window.mini.surface().height(), 12);

    ASSERT_TRUE(t.system("A", 3, 10));  // column 0 is never looked at
    EXPECT_EQ(t.bank.tickerWidth, 1);
    EXPECT_EQ(t.bank.stepMax, 3);
    ASSERT_TRUE(t.system("", 3, 10));
    EXPECT_EQ(t.bank.stepMax, 2);
    EXPECT_EQ(t.stripRow(0, 0, 1), "..");
    ASSERT_TRUE(t.system("", 1, 10));
    EXPECT_EQ(t.bank.stepMax, 5);
    EXPECT_EQ(t.bank.tickerWidth, 1);
    EXPECT_EQ(t.stripRow(4, 0, 2), "...");
}

TEST(TickerStrip, SystemFontMirrorBackwardAndVertical) {
    TickerBench t;
    t.entry.mirror = 1;
    ASSERT_TRUE(t.system("ABC", 3, 10));  // drawn "CBA", read back mirrored
    EXPECT_EQ(t.stripRow(0, 0, 11), "...#..##.###");
    t.entry.backward = 1;
    ASSERT_TRUE(t.system("ABC", 3, 10));  // drawn "ABC", mirrored: the whole text
    EXPECT_EQ(t.stripRow(0, 0, 13), "...###..##...#");
    t.entry.mirror = 0;
    ASSERT_TRUE(t.system("ABC", 3, 10));  // "CBA"
    EXPECT_EQ(t.stripRow(0, 0, 9), "###.##..#.");

    // Vertical: one letter per cell height, backward reverses the order.
    t.entry.backward = 0;
    ASSERT_TRUE(t.system("ABC", 1, 8));
    EXPECT_EQ(t.bank.stepMax, 8 * 3 + 5);
    EXPECT_EQ(t.stripRow(0, 0, 3), "#...");
    EXPECT_EQ(t.stripRow(8, 0, 3), "##..");
    EXPECT_EQ(t.stripRow(16, 0, 3), "###.");
    EXPECT_EQ(t.bank.tickerWidth, 4);
    t.entry.backward = 1;
    ASSERT_TRUE(t.system("ABC", 1, 8));
    EXPECT_EQ(t.stripRow(0, 0, 3), "###.");
    EXPECT_EQ(t.stripRow(16, 0, 3), "#...");
}

TEST(TickerStrip, SystemFontKeepsSmoothedPixelsButTrimsOnTheTextColour) {
    TickerBench t;
    t.blocks.smoothEdge = true;
    ASSERT_TRUE(t.system("AC", 3, 10));  // C ends at 6; the smoothed pixel is at 7
    EXPECT_EQ(t.bank.tickerWidth, 8);
    EXPECT_EQ(t.stripRow(0, 0, 9), "#...###~..");
}

TEST(TickerStrip, SystemFontNeedsSevenPixelsAndTranslatesSystemColours) {
    TickerBench t;
    t.bank.stepMax = 77;
    EXPECT_FALSE(t.system("ABC", 3, 6));
    EXPECT_EQ(t.blocks.calls, 0);
    EXPECT_EQ(t.bank.stepMax, 77);  // the caller decides what follows
    EXPECT_TRUE(t.system("ABC", 3, 7));

    t.entry.color1 = 0x80000008u;  // a system colour: found by its RGB
    ASSERT_TRUE(t.system("ABC", 3, 10));
    EXPECT_EQ(t.bank.tickerWidth, 12);
    EXPECT_EQ(t.bank.tickerBuf.at(0, 0), platform::translateColor(0x80000008u));
}

TEST(TickerStrip, InstalledFontGeometry) {
    TickerBench t;
    platform::Desktop desktop;
    t.entry.text = "Hi";
    t.entry.direction = 3;
    t.entry.font = "DejaVu Sans:20:0:0:0:0";
    t.bank.fontName = "DejaVu Sans";
    t.bank.fontSize = 20;
    ASSERT_TRUE(buildSystemStrip(t.bank, t.shape, t.entry, t.window.mini, desktop.textRasterizer(),
                                 12, 12));
    EXPECT_EQ(t.bank.tickerBuf.rows(), 20);
    EXPECT_GT(t.bank.tickerWidth, 8);
    EXPECT_LT(t.bank.tickerWidth, 40);
    EXPECT_EQ(t.bank.stepMax, t.bank.tickerWidth + 2);
    int lit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < t.bank.stepMax; ++x) {
            const uint32_t c = t.bank.tickerBuf.at(x, y);
            EXPECT_TRUE(c == testing::kInk || c == testing::kPaper) << x << "," << y;
            lit += c == testing::kInk;
        }
    EXPECT_GT(lit, 20);

    // Bold draws more pixels than regular; an unknown face still draws.
    t.bank.fontBold = 1;
    ASSERT_TRUE(buildSystemStrip(t.bank, t.shape, t.entry, t.window.mini, desktop.textRasterizer(),
                                 12, 12));
    int boldLit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < t.bank.stepMax; ++x)
            boldLit += t.bank.tickerBuf.at(x, y) == testing::kInk;
    EXPECT_GT(boldLit, lit);
    t.bank.fontBold = 0;
    t.bank.fontName = "No Such Face Anywhere";
    ASSERT_TRUE(buildSystemStrip(t.bank, t.shape, t.entry, t.window.mini, desktop.textRasterizer(),
                                 12, 12));
    EXPECT_GT(t.bank.tickerWidth, 8);
}

}  // namespace
}  // namespace kavrel
