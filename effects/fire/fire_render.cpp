#include "effects/fire/fire_render.h"

#include <algorithm>
#include <cmath>

#include "core/colors.h"
#include "core/light_painter.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

// Values below 70 vanish, which gives the flames their ragged tips.
uint8_t flameByte(double v) {
    const double r = platform::roundHalfEven(v);
    if (r > 255) return 255;
    if (r < 70) return 0;
    return static_cast<uint8_t>(r);
}

}  // namespace

int64_t fireTopRow(int64_t level, int rows) {
    const double height = static_cast<double>(level) / 150.0 * static_cast<double>(rows);
    return int64_t{rows} - 1 - platform::intFloor(height);
}

void renderFire(Frame& frame, const EffectRecord& e, int cols, int rows, platform::Random& random,
                double secondsSinceMidnight) {
    const int w = std::clamp(cols, 0, frame.cols());
    const int h = std::clamp(rows, 0, frame.rows());
    if (e.level <= 0) {
        fillLights(frame, w, h, 0u);
        return;
    }
    const double main[3] = {static_cast<double>(getColorPart(e.color1, kRedMask)),
                            static_cast<double>(getColorPart(e.color1, kGreenMask)),
                            static_cast<double>(getColorPart(e.color1, kBlueMask))};
    const double sec[3] = {static_cast<double>(getColorPart(e.color2, kRedMask)),
                           static_cast<double>(getColorPart(e.color2, kGreenMask)),
                           static_cast<double>(getColorPart(e.color2, kBlueMask))};
    const int64_t topRow = fireTopRow(e.level, rows);
    const double n = static_cast<double>(std::max<int64_t>(int64_t{rows} - topRow, 1));
    const double fA = std::pow(0.5, 1.0 / n);
    const double fB = std::pow(0.4, 1.0 / n);
    double wA = fA;
    double wB = fB;
    random.reseedFromTime(secondsSinceMidnight);
    int64_t k = platform::intFloor(random.next() * 3.0);
    for (int y = rows - 1; y >= 0; --y) {
        for (int x = 0; x < cols; ++x, ++k) {
            if (k % 3 != 0) continue;
            const double a = (random.next() * 0.6 + 0.4) * wA;
            const double r2 = random.next();
            const double b = y > topRow ? r2 / 3.0 : 2.0 * (r2 / 3.0) * wB;
            if (x < w && y < h)
                for (int c = 0; c < 3; ++c) frame.at(x, y, c) = flameByte(a * main[c] + b * sec[c]);
        }
        if (y <= topRow) wB *= fB;
        wA *= fA;
    }
}

}  // namespace kavrel
