#include "effects/beam_show/beam_render.h"

#include <algorithm>
#include <array>

#include "core/colors.h"
#include "core/defaults.h"
#include "core/light_painter.h"
#include "platform/runtime/convert.h"
#include "platform/drawing/surface.h"

namespace kavrel {

namespace {

// Int(r * n): 0..n - 1 for r in [0, 1).
int pick(platform::Random& random, int n) {
    return static_cast<int>(std::clamp<int64_t>(
        platform::intFloor(random.next() * static_cast<double>(n)), 0, std::max(n - 1, 0)));
}

// Moves a sweeping beam one place within 0..n - 1, turning at the ends.
int16_t sweep(int16_t& pos, int16_t& dir, int n) {
    if (n <= 1) return pos = 0;
    int p = std::clamp<int>(pos, 0, n - 1);
    if (p == n - 1) dir = -1;
    if (p == 0) dir = 1;
    p = std::clamp(p + std::clamp<int>(dir, -1, 1), 0, n - 1);
    return pos = static_cast<int16_t>(p);
}

}  // namespace

void renderBeamShow(BankState& bank, const EffectRecord& e, int cols, int rows,
                    platform::Random& random, double secondsSinceMidnight) {
    Frame& f = bank.frame;
    const int w = std::clamp(cols, 0, f.cols());
    const int h = std::clamp(rows, 0, f.rows());
    fillLights(f, w, h, e.color1);
    for (size_t i = 0; i < kBeams; ++i) {
        random.reseedFromTime(secondsSinceMidnight);
        if (i >= e.colorValues.size() || i >= e.colors.size() || w < 1 || h < 1) continue;
        const int32_t type = e.colorValues[i];
        const uint32_t c = e.colors[i];
        const uint8_t rgb[3] = {getColorPart(c, kRedMask), getColorPart(c, kGreenMask),
                                getColorPart(c, kBlueMask)};
        const auto set = [&](int x, int y) {
            for (int k = 0; k < 3; ++k) f.at(x, y, k) = rgb[k];
        };
        switch (type) {
            case 0:
                if (pick(random, 2) == 0) {
                    const int ya = pick(random, h);
                    const int yb = pick(random, h);
                    for (int x = 0; x < w; ++x)
                        set(x, ya + static_cast<int>(platform::intFloor(
                                        static_cast<double>(int64_t{x} * (yb - ya)) / w)));
                } else {
                    const int xa = pick(random, w);
                    const int xb = pick(random, w);
                    for (int y = 0; y < h; ++y)
                        set(xa + static_cast<int>(platform::intFloor(
                                     static_cast<double>(int64_t{y} * (xb - xa)) / h)),
                            y);
                }
                break;
            case 1: {
                const int x = pick(random, w);
                set(x, pick(random, h));
                break;
            }
            case 2: {
                const int y = sweep(bank.laserPos[i], bank.laserDir[i], h);
                for (int x = 0; x < w; ++x) set(x, y);
                break;
            }
            case 3: {
                const int x = sweep(bank.laserPos[i], bank.laserDir[i], w);
                for (int y = 0; y < h; ++y) set(x, y);
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace kavrel
