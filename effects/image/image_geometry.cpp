#include "effects/image/image_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr int32_t kLongestListMs = 32767 * 1000;

// Int((size - view) x level / 100), rounding down.
int32_t offsetAlong(int32_t size, int32_t view, int32_t level) {
    const double v = static_cast<double>(size - view) * static_cast<double>(level) / 100.0;
    return static_cast<int32_t>(std::clamp<int64_t>(platform::intFloor(v), INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t imageStepInterval(int32_t speed) {
    const double d = static_cast<double>(speed) - 100.0;
    return platform::toInt32(0.8 * d * d + 10.0).value_or(INT32_MAX);
}

int32_t travelExtent(const ScrollGeometry& g) {
    return static_cast<double>(g.H - g.h) > static_cast<double>(g.W - g.w) ? g.W : g.H;
}

bool startView(const ScrollGeometry& g, ViewPos& pos) {
    const int32_t off = offsetAlong(g.W, g.w, g.level);
    const int32_t offY = offsetAlong(g.H, g.h, g.level);
    // Computed wide: the 16-bit cut comes when the caller stores the result.
    const auto at = [&pos](int64_t x, int64_t y) {
        pos.x = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
        pos.y = static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
        return true;
    };
    const int64_t W = g.W, H = g.H, w = g.w, h = g.h;
    switch (g.direction) {
        case 0:
        case 1:
            return at(off, 0);
        case 2:
            return at(off + 1 - w, 1 - h);
        case 3:
            return at(0, offY);
        case 4:
            return at(off + 1 - w, H - 1);
        case 5:
            return at(off, H - h - 1);
        case 6:
            return at(W - 1 - off, H - 1);
        case 7:
            return at(W - w - 1, offY);
        case 8:
            return at(W - 1 - off, 1 - h);
        default:
            return false;
    }
}

void stepView(const ScrollGeometry& g, int32_t stripLen, ViewPos& pos) {
    // Positions stay within the 16-bit range, so these sums cannot overflow.
    int32_t& x = pos.x;
    int32_t& y = pos.y;
    switch (g.direction) {
        case 1:
            if (++y >= g.H) y = 0;
            break;
        case 2:
            ++x, ++y;
            if (x >= stripLen) startView(g, pos);
            break;
        case 3:
            if (++x >= g.W) x = 0;
            break;
        case 4:
            ++x, --y;
            if (x >= stripLen) startView(g, pos);
            break;
        case 5:
            if (--y <= 0) y = g.H - 1;
            break;
        case 6:
            --x, --y;
            if (x + g.w < 0 || y + g.h < 0) startView(g, pos);
            break;
        case 7:
            if (--x < 0) x = g.W - 1;
            break;
        case 8:
            --x, ++y;
            if (y >= stripLen) startView(g, pos);
            break;
        default:
            break;
    }
}

int16_t toPos16(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int32_t listInterval(double seconds) {
    if (!std::isfinite(seconds)) return 1000;
    const double whole = platform::roundHalfEven(std::clamp(seconds, -32768.0, 32767.0));
    if (whole <= 0) return 1000;
    return static_cast<int32_t>(whole) * 1000;
}

int32_t listIntervalExact(double seconds) {
    if (!std::isfinite(seconds)) return 1000;
    const double ms = platform::roundHalfEven(std::clamp(seconds, -32768.0, 32767.0) * 1000.0);
    if (ms < 1000) return 1000;
    return static_cast<int32_t>(std::min<double>(ms, kLongestListMs));
}

}  // namespace kavrel
