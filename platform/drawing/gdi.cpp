#include "platform/drawing/gdi.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr Color kBlack = 0;

// Fills the part of the w x h block at (x, y) that lies inside the buffer.
void fillBlock(Surface& s, int64_t x, int64_t y, int64_t w, int64_t h, Color c) {
    const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(x + w, s.width());
    const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(y + h, s.height());
    for (int64_t yy = y0; yy < y1; ++yy)
        for (int64_t xx = x0; xx < x1; ++xx)
            s.set(static_cast<int32_t>(xx), static_cast<int32_t>(yy), c);
}

// What a block copy does after the checks every raster call starts with.
enum class Start { Fail, Done, Copy };

// Checks the handles and the raster operation and carries out BLACKNESS.
Start begin(Hdc dst, Hdc src, uint32_t rop, int64_t xd, int64_t yd, int64_t w, int64_t h) {
    if (dst.surface == nullptr) return Start::Fail;
    if (rop == BLACKNESS) {
        if (w > 0 && h > 0) fillBlock(*dst.surface, xd, yd, w, h, kBlack);
        return Start::Done;
    }
    if (rop != SRCCOPY || src.surface == nullptr) return Start::Fail;
    return Start::Copy;
}

}  // namespace

uint32_t GetPixel(Hdc dc, int32_t x, int32_t y) {
    if (dc.surface == nullptr || !dc.surface->contains(x, y)) return CLR_INVALID;
    return dc.surface->at(x, y);
}

void SetPixel(Hdc dc, int32_t x, int32_t y, uint32_t color) {
    if (dc.surface != nullptr) dc.surface->put(x, y, color & 0x00FFFFFFu);
}

bool BitBlt(Hdc dst, int32_t xd, int32_t yd, int32_t w, int32_t h, Hdc src, int32_t xs, int32_t ys,
            uint32_t rop) {
    const Start start = begin(dst, src, rop, xd, yd, w, h);
    if (start != Start::Copy) return start == Start::Done;
    if (w <= 0 || h <= 0) return true;
    Surface& d = *dst.surface;
    const Surface& s = *src.surface;
    // Offsets (i, j) inside the block whose destination and source both lie inside.
    const int64_t i0 = std::max<int64_t>({0, -int64_t{xd}, -int64_t{xs}});
    const int64_t j0 = std::max<int64_t>({0, -int64_t{yd}, -int64_t{ys}});
    const int64_t i1 = std::min<int64_t>({w, int64_t{d.width()} - xd, int64_t{s.width()} - xs});
    const int64_t j1 = std::min<int64_t>({h, int64_t{d.height()} - yd, int64_t{s.height()} - ys});
    if (i0 >= i1 || j0 >= j1) return true;
    const auto at = [](int64_t base, int64_t off) { return static_cast<int32_t>(base + off); };
    const auto cols = static_cast<size_t>(i1 - i0);
    if (&d == &s) {
        // A block moved within one surface reads every source row before it
        // is written over: rows in the order away from the overlap, and
        // memmove within a row.
        const bool down = yd > ys;
        for (int64_t n = 0; n < j1 - j0; ++n) {
            const int64_t j = down ? j1 - 1 - n : j0 + n;
            Color* row = d.row(at(yd, j));
            std::memmove(row + at(xd, i0), d.row(at(ys, j)) + at(xs, i0), cols * sizeof(Color));
        }
        return true;
    }
    for (int64_t j = j0; j < j1; ++j)
        std::copy_n(s.row(at(ys, j)) + at(xs, i0), cols, d.row(at(yd, j)) + at(xd, i0));
    return true;
}

bool StretchBlt(Hdc dst, int32_t xd, int32_t yd, int32_t wd, int32_t hd, Hdc src, int32_t xs,
                int32_t ys, int32_t ws, int32_t hs, uint32_t rop) {
    const Start start = begin(dst, src, rop, xd, yd, wd, hd);
    if (start != Start::Copy) return start == Start::Done;
    if (wd <= 0 || hd <= 0 || ws <= 0 || hs <= 0) return true;
    // The source coordinate of destination offset o along one axis: the pixel
    // under the centre of o, in 64 bits ((2o + 1) * size stays below 2^63).
    const auto sample = [](int64_t first, int64_t o, int64_t srcSize, int64_t dstSize) {
        return first + ((2 * o + 1) * srcSize) / (2 * dstSize);
    };
    Surface& d = *dst.surface;
    const Surface& s = *src.surface;
    const int64_t i0 = std::max<int64_t>(0, -int64_t{xd});
    const int64_t j0 = std::max<int64_t>(0, -int64_t{yd});
    const int64_t i1 = std::min<int64_t>(wd, int64_t{d.width()} - xd);
    const int64_t j1 = std::min<int64_t>(hd, int64_t{d.height()} - yd);
    if (i0 >= i1 || j0 >= j1) return true;
    // Read everything first so a copy within one buffer sees the old pixels.
    struct Write {
        int32_t x, y;
        Color c;
    };
    std::vector<Write> writes;
    for (int64_t j = j0; j < j1; ++j) {
        const int64_t sy = sample(ys, j, hs, hd);
        for (int64_t i = i0; i < i1; ++i) {
            const int64_t sx = sample(xs, i, ws, wd);
            if (!s.contains(sx, sy)) continue;
            writes.push_back({static_cast<int32_t>(xd + i), static_cast<int32_t>(yd + j),
                              s.at(static_cast<int32_t>(sx), static_cast<int32_t>(sy))});
        }
    }
    for (const Write& w : writes) d.set(w.x, w.y, w.c);
    return true;
}

}  // namespace platform
