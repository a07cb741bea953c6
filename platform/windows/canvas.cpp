#include "platform/windows/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/drawing/system_colors.h"

namespace platform {

namespace {

// Pixel coordinates are kept within +-kFar: far outside any buffer, and small
// enough that products of two coordinate differences fit in 64 bits.
constexpr double kFar = static_cast<double>(int64_t{1} << 28);
constexpr int32_t kMaxDrawWidth = 32767;

std::optional<int64_t> toPixel(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    return static_cast<int64_t>(std::clamp(std::nearbyint(v), -kFar, kFar));
}

int64_t floorDiv(int64_t n, int64_t d) {  // d > 0
    int64_t q = n / d;
    if (n % d != 0 && n < 0) --q;
    return q;
}

// Whether offset (dx, dy) from an ellipse's centre pixel lies in the ellipse
// with half-axes a and b, measured to pixel edges (a + 0.5): radius 0 is one pixel.
// Strictly inside, so that a half-axis ending on a half pixel grows no lone tip.
bool inEllipse(double dx, double dy, double a, double b) {
    const double ea = a + 0.5, eb = b + 0.5;
    if (ea <= 0 || eb <= 0) return false;
    const double u = dx / ea, v = dy / eb;
    return u * u + v * v < 1.0;
}

}  // namespace

void Canvas::setScaleMode(ScaleMode m) {
    if (m == ScaleMode::User && mode_ != ScaleMode::User) {
        const float left = ScaleLeft(), top = ScaleTop(), width = ScaleWidth(),
                    height = ScaleHeight();
        userLeft_ = left;
        userTop_ = top;
        userWidth_ = width;
        userHeight_ = height;
    }
    mode_ = m;
}

bool Canvas::setUserScale(float left, float top, float width, float height) {
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) ||
        !std::isfinite(height) || width == 0 || height == 0) {
        return false;
    }
    mode_ = ScaleMode::User;
    userLeft_ = left;
    userTop_ = top;
    userWidth_ = width;
    userHeight_ = height;
    return true;
}

float Canvas::ScaleLeft() const {
    return mode_ == ScaleMode::User ? userLeft_ : 0.0f;
}
float Canvas::ScaleTop() const {
    return mode_ == ScaleMode::User ? userTop_ : 0.0f;
}

float Canvas::ScaleWidth() const {
    if (mode_ == ScaleMode::User) return userWidth_;
    const float w = static_cast<float>(surface_.width());
    return mode_ == ScaleMode::Twips ? w * kTwipsPerPixel : w;
}

float Canvas::ScaleHeight() const {
    if (mode_ == ScaleMode::User) return userHeight_;
    const float h = static_cast<float>(surface_.height());
    return mode_ == ScaleMode::Twips ? h * kTwipsPerPixel : h;
}

void Canvas::setDrawWidth(int32_t w) {
    drawWidth_ = std::clamp(w, 1, kMaxDrawWidth);
}

double Canvas::pixelsPerUnitX() const {
    switch (mode_) {
        case ScaleMode::Pixels:
            return 1.0;
        case ScaleMode::Twips:
            return 1.0 / kTwipsPerPixel;
        case ScaleMode::User:
            break;
    }
    return userWidth_ == 0 ? 0.0 : surface_.width() / static_cast<double>(userWidth_);
}

double Canvas::pixelsPerUnitY() const {
    switch (mode_) {
        case ScaleMode::Pixels:
            return 1.0;
        case ScaleMode::Twips:
            return 1.0 / kTwipsPerPixel;
        case ScaleMode::User:
            break;
    }
    return userHeight_ == 0 ? 0.0 : surface_.height() / static_cast<double>(userHeight_);
}

double Canvas::unitsToPixelsX(double x) const {
    switch (mode_) {
        case ScaleMode::Pixels:
            return x;
        case ScaleMode::Twips:
            return x / kTwipsPerPixel;
        case ScaleMode::User:
            break;
    }
    return (x - userLeft_) * pixelsPerUnitX();
}

double Canvas::unitsToPixelsY(double y) const {
    switch (mode_) {
        case ScaleMode::Pixels:
            return y;
        case ScaleMode::Twips:
            return y / kTwipsPerPixel;
        case ScaleMode::User:
            break;
    }
    return (y - userTop_) * pixelsPerUnitY();
}

std::optional<int64_t> Canvas::pixelX(float x) const {
    return toPixel(unitsToPixelsX(x));
}
std::optional<int64_t> Canvas::pixelY(float y) const {
    return toPixel(unitsToPixelsY(y));
}

void Canvas::Cls() {
    surface_.fill(translateColor(backColor_));
}

int32_t Canvas::Point(float x, float y) const {
    const auto px = pixelX(x), py = pixelY(y);
    if (!px || !py || !surface_.contains(*px, *py)) return -1;
    return static_cast<int32_t>(surface_.at(static_cast<int32_t>(*px), static_cast<int32_t>(*py)));
}

void Canvas::PSet(float x, float y, std::optional<Color> color) {
    const auto px = pixelX(x), py = pixelY(y);
    if (!px || !py) return;
    fillRect(*px + penLo(), *py + penLo(), *px + penHi(), *py + penHi(),
             translateColor(color.value_or(foreColor_)));
}

void Canvas::Line(float x1, float y1, float x2, float y2, std::optional<Color> color, bool box,
                  bool fill) {
    const auto ax = pixelX(x1), ay = pixelY(y1), bx = pixelX(x2), by = pixelY(y2);
    if (!ax || !ay || !bx || !by) return;
    const Color c = translateColor(color.value_or(foreColor_));
    if (!box) {
        stroke(*ax, *ay, *bx, *by, c);
        return;
    }
    const int64_t left = std::min(*ax, *bx), right = std::max(*ax, *bx);
    const int64_t top = std::min(*ay, *by), bottom = std::max(*ay, *by);
    if (fill) {
        fillRect(left, top, right, bottom, c);
        return;
    }
    if (fillStyle_ == FillStyle::Solid)
        fillRect(left, top, right, bottom, translateColor(fillColor_));
    stroke(left, top, right, top, c);
    stroke(right, top, right, bottom, c);
    stroke(left, bottom, right, bottom, c);
    stroke(left, top, left, bottom, c);
}

void Canvas::Circle(float x, float y, float radius, std::optional<Color> color, float aspect) {
    if (!std::isfinite(radius) || radius < 0 || !std::isfinite(aspect) || aspect < 0) return;
    const auto cx = pixelX(x), cy = pixelY(y);
    if (!cx || !cy) return;
    const double r = std::min(std::fabs(radius * pixelsPerUnitX()), kFar);
    const double rx = aspect < 1 ? r : r / aspect;
    const double ry = aspect < 1 ? r * aspect : r;
    // The outline is a ring one pen wide around the ellipse's edge.
    const double half = (drawWidth_ - 1) / 2.0;
    const double outerX = rx + half, outerY = ry + half;
    const double innerX = rx - half - 1, innerY = ry - half - 1;
    const bool filled = fillStyle_ == FillStyle::Solid;
    const Color line = translateColor(color.value_or(foreColor_));
    const Color inside = translateColor(fillColor_);

    const auto extX = static_cast<int64_t>(std::floor(outerX + 0.5));
    const auto extY = static_cast<int64_t>(std::floor(outerY + 0.5));
    const int64_t x0 = std::max<int64_t>(*cx - extX, 0);
    const int64_t x1 = std::min<int64_t>(*cx + extX, int64_t{surface_.width()} - 1);
    const int64_t y0 = std::max<int64_t>(*cy - extY, 0);
    const int64_t y1 = std::min<int64_t>(*cy + extY, int64_t{surface_.height()} - 1);
    for (int64_t py = y0; py <= y1; ++py) {
        const auto dy = static_cast<double>(py - *cy);
        for (int64_t px = x0; px <= x1; ++px) {
            const auto dx = static_cast<double>(px - *cx);
            const auto sx = static_cast<int32_t>(px), sy = static_cast<int32_t>(py);
            if (inEllipse(dx, dy, outerX, outerY) && !inEllipse(dx, dy, innerX, innerY))
                surface_.set(sx, sy, line);
            else if (filled && inEllipse(dx, dy, rx, ry))
                surface_.set(sx, sy, inside);
        }
    }
}

void Canvas::fillRect(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Color c) {
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, int64_t{surface_.width()} - 1);
    y1 = std::min<int64_t>(y1, int64_t{surface_.height()} - 1);
    if (x0 > x1) return;
    for (int64_t y = y0; y <= y1; ++y)
        surface_.fillSpan(static_cast<int32_t>(y), static_cast<int32_t>(x0),
                          static_cast<int32_t>(x1), c);
}

// Draws the segment with the square pen, one span per step along the major
// axis: the union of the pen squares of the segment's pixels that cover that
// step. The end points are ordered first, so both directions draw alike, and
// only steps inside the buffer are visited.
void Canvas::stroke(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Color c) {
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
    int64_t u1 = xMajor ? x1 : y1, v1 = xMajor ? y1 : x1;
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const int64_t du = u1 - u0, dv = v1 - v0;
    // The minor coordinate at step u, rounded half up.
    const auto minorAt = [&](int64_t u) {
        if (du == 0) return v0;
        return v0 + floorDiv(2 * (u - u0) * dv + du, 2 * du);
    };
    const int64_t lo = penLo(), hi = penHi();
    const int64_t uLimit = xMajor ? surface_.width() : surface_.height();
    const int64_t vLimit = xMajor ? surface_.height() : surface_.width();
    const int64_t uEnd = std::min(u1 + hi, uLimit - 1);
    for (int64_t u = std::max<int64_t>(u0 + lo, 0); u <= uEnd; ++u) {
        const int64_t va = minorAt(std::max(u - hi, u0)), vb = minorAt(std::min(u - lo, u1));
        const int64_t vFrom = std::max<int64_t>(std::min(va, vb) + lo, 0);
        const int64_t vTo = std::min(std::max(va, vb) + hi, vLimit - 1);
        for (int64_t v = vFrom; v <= vTo; ++v) {
            if (xMajor)
                surface_.set(static_cast<int32_t>(u), static_cast<int32_t>(v), c);
            else
                surface_.set(static_cast<int32_t>(v), static_cast<int32_t>(u), c);
        }
    }
}

}  // namespace platform
