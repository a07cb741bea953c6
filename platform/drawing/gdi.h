#pragma once
// Stand-ins for the few GDI calls the plug-in makes on device contexts:
// reading and writing single pixels and block copies between pixel buffers.
#include <cstdint>

#include "platform/drawing/surface.h"

namespace platform {

// A device-context handle: the pixel buffer that a picture box or a window
// draws into. A default handle names no buffer and every call on it fails.
struct Hdc {
    Surface* surface = nullptr;
};

constexpr uint32_t SRCCOPY = 0x00CC0020u;
constexpr uint32_t BLACKNESS = 0x00000042u;
constexpr uint32_t CLR_INVALID = 0xFFFFFFFFu;

// The colour at (x, y); CLR_INVALID outside the buffer or for a null handle.
uint32_t GetPixel(Hdc dc, int32_t x, int32_t y);
// Sets (x, y) to the colour's low 24 bits, as a COLORREF; outside is ignored.
void SetPixel(Hdc dc, int32_t x, int32_t y, uint32_t color);

// Copies a w x h block from src (xs, ys) to dst (xd, yd). SRCCOPY copies;
// BLACKNESS fills the destination block black and needs no source. Only the
// pixels whose destination and source both lie inside their buffers are
// written; overlapping copies within one buffer read the block as it was.
// False for a null handle or another raster operation.
bool BitBlt(Hdc dst, int32_t xd, int32_t yd, int32_t w, int32_t h, Hdc src, int32_t xs, int32_t ys,
            uint32_t rop);

// Scales the ws x hs block at src (xs, ys) onto the wd x hd block at dst
// (xd, yd) by nearest neighbour, sampling at each destination pixel's centre.
// Clipping, raster operations and results as for BitBlt.
bool StretchBlt(Hdc dst, int32_t xd, int32_t yd, int32_t wd, int32_t hd, Hdc src, int32_t xs,
                int32_t ys, int32_t ws, int32_t hs, uint32_t rop);

}  // namespace platform
