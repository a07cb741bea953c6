#include "platform/drawing/gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

using namespace platform;

namespace {

constexpr Color kMark = rgb(1, 2, 3);

// Every pixel tells where it is: red = x, green = y, blue = 200.
Surface coordinates(int32_t w, int32_t h) {
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) s.set(x, y, rgb(x, y, 200));
    return s;
}
int32_t xOf(Color c) {
    return static_cast<int32_t>(c & 255);
}
int32_t yOf(Color c) {
    return static_cast<int32_t>((c >> 8) & 255);
}

}  // namespace

TEST(Gdi, GetPixelOutsideOrWithoutBufferIsInvalid) {
    Surface s(3, 2, kMark);
    const Hdc dc{&s};
    EXPECT_EQ(GetPixel(dc, 2, 1), kMark);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT32_MIN, INT32_MAX}})
        EXPECT_EQ(GetPixel(dc, x, y), 0xFFFFFFFFu) << x << "," << y;
    EXPECT_EQ(GetPixel(Hdc{}, 0, 0), 0xFFFFFFFFu);
    SetPixel(dc, 3, 0, 0);  // outside: ignored
    SetPixel(dc, -1, 1, 0);
    SetPixel(Hdc{}, 0, 0, 0);
    EXPECT_EQ(s.pixels(), Surface(3, 2, kMark).pixels());
    SetPixel(dc, 1, 1, 0x00123456);
    EXPECT_EQ(GetPixel(dc, 1, 1), 0x00123456u);
}

TEST(Gdi, BitBltWritesOnlyPixelsWhoseSourceAndDestinationExist) {
    Surface src = coordinates(4, 4);
    Surface dst(6, 6, kMark);
    // Source block starts above and left of the source: the first row and
    // column have no source; the block also runs past the source's far edges.
    EXPECT_TRUE(BitBlt(Hdc{&dst}, 0, 0, 6, 6, Hdc{&src}, -1, -1, SRCCOPY));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const bool fromSource = x >= 1 && x <= 4 && y >= 1 && y <= 4;
            EXPECT_EQ(dst.at(x, y), fromSource ? src.at(x - 1, y - 1) : kMark) << x << "," << y;
        }
    // Destination partly off the buffer: the part outside is dropped.
    Surface d2(6, 6, kMark);
    EXPECT_TRUE(BitBlt(Hdc{&d2}, -2, 4, 4, 4, Hdc{&src}, 0, 0, SRCCOPY));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x)
            EXPECT_EQ(d2.at(x, y), x < 2 && y >= 4 ? src.at(x + 2, y - 4) : kMark);
}

TEST(Gdi, BitBltWithinOneSurfaceCopiesTheBlockAsItWasBefore) {
    // Blocks moved over themselves in every direction, and a shared copy
    // that must keep its pixels when the other one is written.
    for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {2, -1}, {-2, 1}, {3, 0}, {0, -3}}) {
        Surface s = coordinates(8, 8);
        s.share();
        const Surface kept = s;
        EXPECT_TRUE(BitBlt(Hdc{&s}, 2 + dx, 2 + dy, 4, 4, Hdc{&s}, 2, 2, SRCCOPY));
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x) {
                const bool moved = x >= 2 + dx && x < 6 + dx && y >= 2 + dy && y < 6 + dy;
                EXPECT_EQ(s.at(x, y), moved ? kept.at(x - dx, y - dy) : kept.at(x, y))
                    << dx << "," << dy << " at " << x << "," << y;
            }
        EXPECT_EQ(kept.pixels(), coordinates(8, 8).pixels());
    }
}

TEST(Gdi, BitBltEmptyBlocksAndBadCallsChangeNothing) {
    Surface src = coordinates(4, 4);
    Surface dst(4, 4, kMark);
    const std::vector<Color> before = dst.pixels();
    for (auto [w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {4, -1}, {INT32_MIN, INT32_MIN}})
        EXPECT_TRUE(BitBlt(Hdc{&dst}, 0, 0, w, h, Hdc{&src}, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(Hdc{&dst}, 0, 0, 4, 4, Hdc{&src}, 4, 0, SRCCOPY));  // source all outside
    EXPECT_TRUE(BitBlt(Hdc{&dst}, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, Hdc{&src}, INT32_MIN,
                       INT32_MIN, SRCCOPY));
    EXPECT_FALSE(BitBlt(Hdc{&dst}, 0, 0, 4, 4, Hdc{}, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(Hdc{}, 0, 0, 4, 4, Hdc{&src}, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(Hdc{&dst}, 0, 0, 4, 4, Hdc{&src}, 0, 0, 0x00EE0086));  // SRCPAINT
    EXPECT_EQ(dst.pixels(), before);
}

TEST(Gdi, BlacknessFillsTheClippedBlockAndIgnoresTheSource) {
    Surface dst(5, 4, kMark);
    EXPECT_TRUE(BitBlt(Hdc{&dst}, 3, -1, 10, 3, Hdc{}, 0, 0, BLACKNESS));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(dst.at(x, y), x >= 3 && y <= 1 ? 0u : kMark);
    Surface tiny(1, 1);
    EXPECT_TRUE(StretchBlt(Hdc{&dst}, 0, 0, 5, 4, Hdc{&tiny}, 0, 0, 1, 1, BLACKNESS));
    EXPECT_EQ(dst.pixels(), Surface(5, 4, 0).pixels());
}

TEST(Gdi, OverlappingCopyWithinOneBufferReadsTheOldPixels) {
    for (int shift : {2, -2}) {
        Surface s = coordinates(10, 1);
        const Surface old = s;
        const int32_t from = shift > 0 ? 0 : 2, to = from + shift;
        EXPECT_TRUE(BitBlt(Hdc{&s}, to, 0, 6, 1, Hdc{&s}, from, 0, SRCCOPY));
        for (int32_t x = 0; x < 10; ++x) {
            const bool copied = x >= to && x < to + 6;
            EXPECT_EQ(s.at(x, 0), old.at(copied ? x - shift : x, 0)) << shift << " at " << x;
        }
    }
    // The same within a stretch: a 2-pixel run doubled over itself.
    Surface s = coordinates(4, 1);
    EXPECT_TRUE(StretchBlt(Hdc{&s}, 0, 0, 4, 1, Hdc{&s}, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(xOf(s.at(0, 0)), 0);
    EXPECT_EQ(xOf(s.at(1, 0)), 0);
    EXPECT_EQ(xOf(s.at(2, 0)), 1);
    EXPECT_EQ(xOf(s.at(3, 0)), 1);
}

TEST(Gdi, StretchBltEqualSizeIsACopyAndOnePixelFillsAll) {
    Surface src = coordinates(7, 5);
    Surface dst(7, 5, kMark);
    EXPECT_TRUE(StretchBlt(Hdc{&dst}, 0, 0, 7, 5, Hdc{&src}, 0, 0, 7, 5, SRCCOPY));
    EXPECT_EQ(dst.pixels(), src.pixels());
    // Sizes near the 32-bit limit: the sampling arithmetic must not overflow.
    Surface big(7, 5, kMark);
    EXPECT_TRUE(StretchBlt(Hdc{&big}, 0, 0, INT32_MAX, INT32_MAX, Hdc{&src}, 0, 0, INT32_MAX,
                           INT32_MAX, SRCCOPY));
    EXPECT_EQ(big.pixels(), src.pixels());

    EXPECT_TRUE(StretchBlt(Hdc{&dst}, 0, 0, 7, 5, Hdc{&src}, 3, 2, 1, 1, SRCCOPY));
    EXPECT_EQ(dst.pixels(), Surface(7, 5, src.at(3, 2)).pixels());
}

TEST(Gdi, StretchBltIntegerScalesGiveBlocksAndBlockMiddles) {
    Surface src = coordinates(3, 2);
    Surface up(9, 6, kMark);
    EXPECT_TRUE(StretchBlt(Hdc{&up}, 0, 0, 9, 6, Hdc{&src}, 0, 0, 3, 2, SRCCOPY));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 9; ++x) EXPECT_EQ(up.at(x, y), src.at(x / 3, y / 3));

    Surface big = coordinates(12, 9);
    Surface down(4, 3, kMark);
    EXPECT_TRUE(StretchBlt(Hdc{&down}, 0, 0, 4, 3, Hdc{&big}, 0, 0, 12, 9, SRCCOPY));
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(down.at(x, y), big.at(3 * x + 1, 3 * y + 1));
}

TEST(Gdi, StretchBltOddScalesUseSourceColoursInOrder) {
    Surface src = coordinates(7, 5);
    std::set<Color> colours(src.pixels().begin(), src.pixels().end());
    Surface dst(11, 3, kMark);
    EXPECT_TRUE(StretchBlt(Hdc{&dst}, 0, 0, 11, 3, Hdc{&src}, 0, 0, 7, 5, SRCCOPY));
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 11; ++x) {
            EXPECT_TRUE(colours.count(dst.at(x, y))) << x << "," << y;
            if (x > 0) {
                EXPECT_GE(xOf(dst.at(x, y)), xOf(dst.at(x - 1, y)));
            }
            if (y > 0) {
                EXPECT_GT(yOf(dst.at(x, y)), yOf(dst.at(x, y - 1)));
            }
        }
    // Every source column shows up when stretching 7 to 11.
    std::set<int32_t> columns;
    for (int32_t x = 0; x < 11; ++x) columns.insert(xOf(dst.at(x, 0)));
    EXPECT_EQ(columns.size(), 7u);
}

TEST(Gdi, StretchBltSkipsSourcesOutsideAndEmptySizes) {
    Surface src = coordinates(4, 4);
    Surface dst(4, 4, kMark);
    // Source block (2, 0) 4 wide, 1:1: columns 2 and 3 have a source, the rest not.
    EXPECT_TRUE(StretchBlt(Hdc{&dst}, 0, 0, 4, 4, Hdc{&src}, 2, 0, 4, 4, SRCCOPY));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dst.at(x, y), x < 2 ? src.at(x + 2, y) : kMark);
    Surface d2(4, 4, kMark);
    for (auto [wd, ws] : {std::pair{0, 4}, {4, 0}, {-4, 4}, {4, -4}})
        EXPECT_TRUE(StretchBlt(Hdc{&d2}, 0, 0, wd, 4, Hdc{&src}, 0, 0, ws, 4, SRCCOPY));
    EXPECT_EQ(d2.pixels(), Surface(4, 4, kMark).pixels());
}
