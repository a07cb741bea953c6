#include <gtest/gtest.h>

#include "core/colors.h"
#include "core/frame.h"
#include "core/grid2d.h"
#include "platform/drawing/system_colors.h"

namespace kavrel {
namespace {

TEST(CoreGrid2D, GrowKeepsContentsAndFillsNewCells) {
    Grid2D<uint32_t> g(2, 1, 7u);
    g.at(0, 0) = 10;
    g.at(2, 1) = 21;
    g.resize(4, 3, 9u);
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.at(0, 0), 10u);
    EXPECT_EQ(g.at(2, 1), 21u);
    EXPECT_EQ(g.at(1, 1), 7u);
    EXPECT_EQ(g.at(3, 0), 9u);
    EXPECT_EQ(g.at(4, 3), 9u);

    g.resize(1, 0);  // shrinking keeps what stays inside
    EXPECT_EQ(g.at(0, 0), 10u);
    EXPECT_FALSE(g.contains(2, 0));
}

TEST(CoreGrid2D, SafeAccessOutsideBounds) {
    Grid2D<uint32_t> g(1, 1, 5u);
    EXPECT_EQ(g.get(1, 1, 0u), 5u);  // the spare index is inside
    EXPECT_EQ(g.get(2, 0, 77u), 77u);
    EXPECT_EQ(g.get(-1, 0, 77u), 77u);
    EXPECT_FALSE(g.set(0, 2, 3u));

    Grid2D<bool> empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.get(0, 0, false));
    empty.resize(-4, 3);
    EXPECT_TRUE(empty.empty());

    Grid2D<bool> flags(2, 2, false);
    flags.at(1, 2) = true;  // bool elements are addressable
    EXPECT_TRUE(flags.get(1, 2, false));
    EXPECT_FALSE(flags.get(2, 1, true));
}

TEST(CoreFrame, ResizeZeroesAndBoundsAreInclusive) {
    Frame f(3, 2);
    f.setRgb(3, 2, 1, 2, 3);  // spare light
    f.setRgb(0, 0, 10, 20, 30);
    EXPECT_EQ(f.rgb(0, 0), platform::rgb(10, 20, 30));
    EXPECT_EQ(f.at(0, 0, 1), 20);
    EXPECT_EQ(f.rgb(3, 2), platform::rgb(1, 2, 3));

    f.setRgb(4, 0, 9, 9, 9);  // outside: ignored
    EXPECT_EQ(f.rgb(4, 0), 0u);
    EXPECT_EQ(f.get(0, 0, 4), 0);

    f.resize(5, 5);
    EXPECT_EQ(f.rgb(0, 0), 0u);
    EXPECT_EQ(f.cols(), 5);
}

TEST(CoreColors, ColorPartsByMask) {
    const uint32_t c = platform::rgb(12, 34, 56);
    EXPECT_EQ(getColorPart(c, kRedMask), 12);
    EXPECT_EQ(getColorPart(c, kGreenMask), 34);
    EXPECT_EQ(getColorPart(c, kBlueMask), 56);
    EXPECT_EQ(getColorPart(c, 0xFF000000u), 0);
    EXPECT_EQ(getColorPart(c, 0), 0);

    // System colour 13 (highlight) is translated first.
    const platform::Color highlight = platform::sysColor(13);
    EXPECT_EQ(getColorPart(0x8000000Du, kBlueMask), getColorPart(highlight, kBlueMask));
    EXPECT_EQ(getColorPart(0x8000000Du, kGreenMask), getColorPart(highlight, kGreenMask));
}

}  // namespace
}  // namespace kavrel
