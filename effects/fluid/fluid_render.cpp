#include "effects/fluid/fluid_render.h"

#include <algorithm>

#include "core/colors.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

void copyLight(Frame& f, int dx, int dy, int sx, int sy) {
    for (int c = 0; c < 3; ++c) f.at(dx, dy, c) = f.at(sx, sy, c);
}

void shift(Frame& f, int direction, int w, int h) {
    switch (direction) {
        case 1:
            for (int y = 1; y < h; ++y)
                for (int x = 0; x < w; ++x) copyLight(f, x, y - 1, x, y);
            break;
        case 3:
            for (int x = 1; x < w; ++x)
                for (int y = 0; y < h; ++y) copyLight(f, x - 1, y, x, y);
            break;
        case 5:
            for (int y = h - 2; y >= 0; --y)
                for (int x = 0; x < w; ++x) copyLight(f, x, y + 1, x, y);
            break;
        case 7:
            for (int x = w - 2; x >= 0; --x)
                for (int y = 0; y < h; ++y) copyLight(f, x + 1, y, x, y);
            break;
        default:
            break;
    }
}

// Roughness outside 0..100 can push a blend outside the byte range.
uint8_t blendByte(double v) {
    return static_cast<uint8_t>(std::clamp(platform::roundHalfEven(v), 0.0, 255.0));
}

}  // namespace

void renderFluid(Frame& frame, const EffectRecord& e, int cols, int rows, platform::Random& random,
                 double secondsSinceMidnight) {
    const int w = std::clamp(cols, 0, frame.cols());
    const int h = std::clamp(rows, 0, frame.rows());
    const int dir = e.direction;
    const double main[3] = {static_cast<double>(getColorPart(e.color1, kRedMask)),
                            static_cast<double>(getColorPart(e.color1, kGreenMask)),
                            static_cast<double>(getColorPart(e.color1, kBlueMask))};
    const double sec[3] = {static_cast<double>(getColorPart(e.color2, kRedMask)),
                           static_cast<double>(getColorPart(e.color2, kGreenMask)),
                           static_cast<double>(getColorPart(e.color2, kBlueMask))};
    shift(frame, dir, w, h);
    const int length = dir == 1 || dir == 5 ? cols : rows;
    random.reseedFromTime(secondsSinceMidnight);
    for (int i = 0; i < length; ++i) {
        const double t = random.next() * static_cast<double>(e.level) / 100.0;
        int x = -1, y = -1;
        switch (dir) {
            case 1:
                x = i, y = h - 1;
                break;
            case 3:
                x = w - 1, y = i;
                break;
            case 5:
                x = i, y = 0;
                break;
            case 7:
                x = 0, y = i;
                break;
            default:
                break;
        }
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        for (int c = 0; c < 3; ++c) frame.at(x, y, c) = blendByte((1 - t) * main[c] + t * sec[c]);
    }
}

}  // namespace kavrel
