// The Color Scroll strip and one scroll step, on a bank state alone.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "effects/color_scroll/scroll_strip.h"
#include "platform/drawing/surface.h"

namespace kavrel {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);

EffectRecord scrollEntry(std::vector<uint32_t> colors, std::vector<int32_t> widths,
                         int16_t blend = 0, int16_t direction = 1) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::ColorScroll);
    e.colorCount = static_cast<int16_t>(colors.size());
    colors.push_back(0);  // the spare element
    widths.push_back(0);
    e.colors = std::move(colors);
    e.colorValues = std::move(widths);
    e.blend = blend;
    e.direction = direction;
    return e;
}

std::vector<uint32_t> stripColours(const BankState& b) {
    std::vector<uint32_t> out;
    for (int i = 0; i < b.stripLen; ++i) {
        const size_t at = static_cast<size_t>(i) * 4;
        out.push_back(platform::rgb(b.strip[at], b.strip[at + 1], b.strip[at + 2]));
    }
    return out;
}

// A frame whose light (x, y) holds grey 10 * (y * cols + x) + 1, so every
// light is told apart; the strip is one colour per position.
class ScrollStep : public ::testing::Test {
  protected:
    void grid(int cols, int rows) {
        c = cols;
        r = rows;
        bank.frame.resize(cols, rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < cols; ++x) {
                const auto v = static_cast<uint8_t>(10 * (y * cols + x) + 1);
                bank.frame.setRgb(x, y, v, v, v);
            }
    }
    uint32_t mark(int x, int y) const {
        const auto v = static_cast<uint8_t>(10 * (y * c + x) + 1);
        return platform::rgb(v, v, v);
    }
    void strip(std::initializer_list<uint32_t> colours) {
        std::vector<uint32_t> cs(colours);
        e = scrollEntry(cs, std::vector<int32_t>(cs.size(), 1), 0, e.direction);
        ASSERT_TRUE(buildStrip(bank, e));
    }
    uint32_t at(int x, int y) const { return bank.frame.rgb(x, y); }
    void run(int16_t direction) {
        e.direction = direction;
        scrollStep(bank, e, c, r);
    }

    BankState bank{'A'};
    EffectRecord e;
    int c = 0, r = 0;
};

constexpr uint32_t kN0 = platform::rgb(200, 0, 0);
constexpr uint32_t kN1 = platform::rgb(0, 200, 0);
constexpr uint32_t kN2 = platform::rgb(0, 0, 200);

TEST(ScrollStrip, BandsPlainAndBlendedFromThePreviousColour) {
    BankState b{'A'};
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue}, {2, 3})));
    EXPECT_EQ(stripColours(b), (std::vector<uint32_t>{kRed, kRed, kBlue, kBlue, kBlue}));

    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue}, {2, 3}, 1)));
    EXPECT_EQ(b.stripLen, 5);
    EXPECT_EQ(stripColours(b),
              (std::vector<uint32_t>{platform::rgb(128, 0, 128), kRed, platform::rgb(170, 0, 85),
                                     platform::rgb(85, 0, 170), kBlue}));
    EXPECT_EQ(b.strip.size(), 6u * 4);  // one spare position

    // A band of width 1 is exactly its own colour.
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue, kN1}, {1, 1, 1}, 1)));
    EXPECT_EQ(stripColours(b), (std::vector<uint32_t>{kRed, kBlue, kN1}));
}

TEST(ScrollStrip, FewerThanTwoColoursKeepTheStrip) {
    BankState b{'A'};
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue}, {1, 2})));
    const std::vector<uint8_t> before = b.strip;
    EXPECT_FALSE(buildStrip(b, scrollEntry({kN0}, {4})));
    EXPECT_FALSE(buildStrip(b, scrollEntry({}, {})));
    EXPECT_EQ(b.strip, before);
    EXPECT_EQ(b.stripLen, 3);
}

TEST(ScrollStrip, WideWidthsNegativeWidthsAndLongTotalsStayInside) {
    BankState b{'A'};
    // Blend products beyond 16 bits: w = 200 from red to blue.
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue}, {1, 200}, 1)));
    const std::vector<uint32_t> s = stripColours(b);
    ASSERT_EQ(s.size(), 201u);
    EXPECT_EQ(s[1], platform::rgb(254, 0, 1));      // 255*199/200 = 253.725
    EXPECT_EQ(s[100], platform::rgb(128, 0, 128));  // 127.5 rounds to even on both sides
    EXPECT_EQ(s[200], kBlue);

    // Negative widths add nothing; the others still count.
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kN0, kBlue}, {2, -5, 1})));
    EXPECT_EQ(stripColours(b), (std::vector<uint32_t>{kRed, kRed, kBlue}));

    // Totals beyond 16 bits are cut at 32767 positions.
    ASSERT_TRUE(buildStrip(b, scrollEntry({kRed, kBlue}, {30000, 2147483647}, 1)));
    EXPECT_EQ(b.stripLen, kMaxStripLength);
    EXPECT_EQ(b.strip.size(), static_cast<size_t>(kMaxStripLength + 1) * 4);
}

TEST_F(ScrollStep, OtherDirectionsKeepTheFrameButAdvance) {
    grid(3, 2);
    strip({kN0, kN1, kN2});
    const Frame before = bank.frame;
    for (int d : {0, 13, -1, 32767}) run(static_cast<int16_t>(d));
    EXPECT_EQ(bank.frame, before);
    EXPECT_EQ(bank.colIdx, 1);  // 0 -> 1 -> 2 -> 0 -> 1
}

TEST_F(ScrollStep, StraightDirectionsShiftAndFeedTheOpenEdge) {
    grid(3, 3);
    strip({kN0, kN1});
    bank.colIdx = 0;
    run(1);  // up: the bottom row gets strip colour 0
    EXPECT_EQ(at(2, 0), mark(2, 1));
    EXPECT_EQ(at(0, 1), mark(0, 2));
    EXPECT_EQ(at(1, 2), kN0);
    EXPECT_EQ(bank.colIdx, 1);

    grid(3, 3);
    run(3);  // left
    EXPECT_EQ(at(0, 1), mark(1, 1));
    EXPECT_EQ(at(2, 0), kN1);
    EXPECT_EQ(bank.colIdx, 0);  // wrapped after the last position

    grid(3, 3);
    run(5);  // down
    EXPECT_EQ(at(1, 2), mark(1, 1));
    EXPECT_EQ(at(2, 0), kN0);

    grid(3, 3);
    run(7);  // right
    EXPECT_EQ(at(2, 2), mark(1, 2));
    EXPECT_EQ(at(0, 1), kN1);
}

TEST_F(ScrollStep, CentreDirectionsOnOddAndEvenRows) {
    // a b c d e: 9 gives N a d e N, 10 gives b c N c d.
    grid(5, 1);
    strip({kN0, kN1});
    run(9);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(1, 0), at(2, 0), at(3, 0), at(4, 0)}),
              (std::vector<uint32_t>{kN0, mark(0, 0), mark(3, 0), mark(4, 0), kN0}));
    grid(5, 1);
    run(10);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(1, 0), at(2, 0), at(3, 0), at(4, 0)}),
              (std::vector<uint32_t>{mark(1, 0), mark(2, 0), kN1, mark(2, 0), mark(3, 0)}));
    // a b c d: 9 gives N a d N, 10 gives b N N c.
    grid(4, 1);
    run(9);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(1, 0), at(2, 0), at(3, 0)}),
              (std::vector<uint32_t>{kN0, mark(0, 0), mark(3, 0), kN0}));
    grid(4, 1);
    run(10);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(1, 0), at(2, 0), at(3, 0)}),
              (std::vector<uint32_t>{mark(1, 0), kN1, kN1, mark(2, 0)}));
    // The same on rows (11 and 12), a b c d e down one column.
    grid(1, 5);
    run(11);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(0, 1), at(0, 2), at(0, 3), at(0, 4)}),
              (std::vector<uint32_t>{kN0, mark(0, 0), mark(0, 3), mark(0, 4), kN0}));
    grid(1, 5);
    run(12);
    EXPECT_EQ((std::vector<uint32_t>{at(0, 0), at(0, 1), at(0, 2), at(0, 3), at(0, 4)}),
              (std::vector<uint32_t>{mark(0, 1), mark(0, 2), kN1, mark(0, 2), mark(0, 3)}));
}

TEST_F(ScrollStep, OneAndTwoColumnsRefillTheWholeWidth) {
    grid(1, 2);
    strip({kN0, kN1});
    run(9);
    EXPECT_EQ(at(0, 0), kN0);
    EXPECT_EQ(at(0, 1), kN0);
    run(10);
    EXPECT_EQ(at(0, 0), kN1);
    EXPECT_EQ(at(0, 1), kN1);
    grid(2, 2);
    run(9);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(at(0, y), kN0);
        EXPECT_EQ(at(1, y), kN0);
    }
}

TEST_F(ScrollStep, StripOfOneFeedsTheSameColour) {
    grid(2, 2);
    e = scrollEntry({kN0, kN1}, {1, 0});
    ASSERT_TRUE(buildStrip(bank, e));
    ASSERT_EQ(bank.stripLen, 1);
    for (int i = 0; i < 3; ++i) {
        run(5);
        EXPECT_EQ(bank.colIdx, 0);
        EXPECT_EQ(at(1, 0), kN0);
    }
}

TEST_F(ScrollStep, DiagonalFrontGrowsFromTheCornerAndRunsBackwards) {
    grid(4, 3);
    strip({kN0, kN1, kN2});
    bank.colIdx = 1;
    bank.step = 0;
    run(2);  // up-left: bottom row from its right end
    EXPECT_EQ(at(3, 2), kN1);
    EXPECT_EQ(at(2, 2), mark(2, 2));  // beyond the front: carried on
    EXPECT_EQ(at(2, 1), mark(2, 2));  // shifted up
    EXPECT_EQ(bank.step, 1);
    run(2);  // position 2, then 1
    EXPECT_EQ(at(3, 2), kN2);
    EXPECT_EQ(at(2, 2), kN1);
    run(2);  // position 0, then the wrap to 2, then 1
    EXPECT_EQ(at(3, 2), kN0);
    EXPECT_EQ(at(2, 2), kN2);
    EXPECT_EQ(at(1, 2), kN1);
    EXPECT_EQ(bank.step, 3);
    run(6);  // down-right: the top row from its left end, whole width
    EXPECT_EQ(at(0, 0), kN1);
    EXPECT_EQ(at(3, 0), kN1);  // 1, 0, 2, 1
    EXPECT_EQ(at(1, 0), kN0);
    EXPECT_EQ(bank.step, 3);  // stays at cols - 1
}

TEST_F(ScrollStep, StalePositionsAndEmptyStripsStayInside) {
    grid(3, 2);
    strip({kN0, kN1});
    bank.step = 2500;   // left from another type
    bank.colIdx = 900;  // beyond the strip
    run(4);
    EXPECT_EQ(at(2, 0), kN0);  // reduced to position 0
    EXPECT_EQ(at(1, 0), kN1);  // wrapped backwards
    EXPECT_EQ(bank.colIdx, 1);
    EXPECT_EQ(bank.step, 2500);

    // A total width of 0: black is fed and the position never wraps below 0.
    e = scrollEntry({kN0, kN1}, {0, 0});
    ASSERT_TRUE(buildStrip(bank, e));
    ASSERT_EQ(bank.stripLen, 0);
    bank.step = 0;
    run(8);
    EXPECT_EQ(at(0, 1), 0u);
    EXPECT_EQ(bank.colIdx, 0);
    // A strip shorter than its stored length is read only as far as it goes.
    bank.stripLen = 30000;
    run(1);
    EXPECT_EQ(at(2, 1), 0u);
}

}  // namespace
}  // namespace kavrel
