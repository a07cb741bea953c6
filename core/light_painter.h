#pragma once
// Drawing whole pictures into a bank frame, light by light, for the lights
// x < cols, y < rows cut to what the frame holds. Neither marks the bank
// changed nor mixes: callers do.
#include <algorithm>
#include <cstdint>

#include "core/colors.h"
#include "core/frame.h"

namespace kavrel {

// `colorAt(x, y)` gives each light's 0x00BBGGRR colour (system colours are
// translated).
template <typename ColorAt>
void paintLights(Frame& frame, int cols, int rows, ColorAt colorAt) {
    const int w = std::clamp(cols, 0, frame.cols());
    const int h = std::clamp(rows, 0, frame.rows());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colorAt(x, y);
            frame.setRgb(x, y, getColorPart(c, kRedMask), getColorPart(c, kGreenMask),
                         getColorPart(c, kBlueMask));
        }
}

inline void fillLights(Frame& frame, int cols, int rows, uint32_t color) {
    paintLights(frame, cols, rows, [color](int, int) { return color; });
}

}  // namespace kavrel
