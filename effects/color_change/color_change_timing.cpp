#include "effects/color_change/color_change_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/runtime/convert.h"
#include "platform/runtime/random.h"

namespace kavrel {

namespace {

constexpr double kMaxInterval = std::numeric_limits<int32_t>::max();

int32_t clampInterval(double ms) {
    const double r = platform::roundHalfEven(ms);
    if (!(r >= 1.0)) return 1;  // also NaN
    if (r >= kMaxInterval) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

}  // namespace

int32_t colourInterval(double seconds, int32_t speed) {
    const double t = 1000.0 * seconds;
    const double s = speed;
    const double ms = s >= 50 ? t / (1.0 + (s - 50.0) / 25.0) : t * (1.0 + (50.0 - s) / 25.0);
    return clampInterval(ms);
}

int16_t transitionSteps(int16_t mode, int32_t level, int cols, int rows) {
    switch (static_cast<FadeMode>(mode)) {
        case FadeMode::Fade:
            return level < 30 ? 80 : level < 60 ? 50 : level < 90 ? 30 : 15;
        case FadeMode::Random:
        case FadeMode::FillDown:
        case FadeMode::FillUp:
            return static_cast<int16_t>(cols * rows);  // at most 50 x 50
        case FadeMode::ScrollUp:
        case FadeMode::ScrollDown:
            return static_cast<int16_t>(rows);
        case FadeMode::ScrollLeft:
        case FadeMode::ScrollRight:
            return static_cast<int16_t>(cols);
        case FadeMode::None:
            break;
    }
    return 0;
}

int32_t transitionInterval(int32_t level, int32_t steps) {
    if (steps < 1) return 1;
    const int64_t span = (101 - int64_t{level}) * 100;
    return clampInterval(static_cast<double>(span) / steps);
}

void shuffleCells(std::vector<int32_t>& order, int32_t n, platform::Random& random) {
    if (n < 0) n = 0;
    order.assign(static_cast<size_t>(n) + 1, 0);
    for (int32_t i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    for (int32_t i = 0; i < n; ++i) {
        // Half to even maps r = 0 to 0; the clamp keeps r close to 1 inside.
        const double j = platform::roundHalfEven(random.next() * n - 0.5);
        const int32_t k = static_cast<int32_t>(std::clamp(j, 0.0, static_cast<double>(n - 1)));
        std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(k)]);
    }
}

}  // namespace kavrel
