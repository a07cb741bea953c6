#include "effects/gradient/gradient_effect.h"

#include <algorithm>
#include <cmath>

#include "core/bank_context.h"
#include "core/byte_rounding.h"
#include "core/colors.h"
#include "core/effect_services.h"
#include "core/light_painter.h"
#include "effects/common/editor_window.h"
#include "effects/gradient/mx_gradient_form.h"

namespace kavrel {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb partsOf(uint32_t color) {
    return {static_cast<double>(getColorPart(color, kRedMask)),
            static_cast<double>(getColorPart(color, kGreenMask)),
            static_cast<double>(getColorPart(color, kBlueMask))};
}

// Position of i along a side of n lights: 0 at the first, 1 at the last; a
// side of one light counts as its start.
double along(int i, int n) {
    return n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
}
double against(int i, int n) {
    return n > 1 ? static_cast<double>(n - 1 - i) / (n - 1) : 0.0;
}

// Mean of the positions over the sides longer than one light.
double diagonal(double u, int w, double v, int h) {
    const int sides = (w > 1 ? 1 : 0) + (h > 1 ? 1 : 0);
    if (sides == 0) return 0.0;
    return ((w > 1 ? u : 0.0) + (h > 1 ? v : 0.0)) / sides;
}

// Distance from the centre scaled so that the corners are 1.
double fromCentre(int x, int y, int w, int h) {
    const double cx = (w - 1) / 2.0;
    const double cy = (h - 1) / 2.0;
    const double dx = cx > 0.0 ? (x - cx) / cx : 0.0;
    const double dy = cy > 0.0 ? (y - cy) / cy : 0.0;
    const int sides = (w > 1 ? 1 : 0) + (h > 1 ? 1 : 0);
    if (sides == 0) return 0.0;
    return std::min(1.0, std::sqrt((dx * dx + dy * dy) / sides));
}

// Share of color2 at light (x, y); negative for an unknown direction.
double gradientShare(int16_t direction, int x, int y, int w, int h) {
    switch (static_cast<GradientDirection>(direction)) {
        case GradientDirection::Up:
            return diagonal(0.0, 1, against(y, h), h);
        case GradientDirection::Down:
            return diagonal(0.0, 1, along(y, h), h);
        case GradientDirection::Left:
            return diagonal(against(x, w), w, 0.0, 1);
        case GradientDirection::Right:
            return diagonal(along(x, w), w, 0.0, 1);
        case GradientDirection::UpLeft:
            return diagonal(against(x, w), w, against(y, h), h);
        case GradientDirection::DownLeft:
            return diagonal(against(x, w), w, along(y, h), h);
        case GradientDirection::DownRight:
            return diagonal(along(x, w), w, along(y, h), h);
        case GradientDirection::UpRight:
            return diagonal(along(x, w), w, against(y, h), h);
        case GradientDirection::CentreOut:
            return fromCentre(x, y, w, h);
        case GradientDirection::CentreIn:
            return 1.0 - fromCentre(x, y, w, h);
    }
    return -1.0;
}

}  // namespace

bool renderGradient(BankState& bank, int cols, int rows) {
    const EffectRecord* entry = bank.currentEffect();
    if (entry == nullptr) {
        fillLights(bank.frame, cols, rows, 0u);
        return true;
    }
    const int16_t direction = entry->direction;
    if (direction < static_cast<int16_t>(GradientDirection::Up) ||
        direction > static_cast<int16_t>(GradientDirection::CentreIn))
        return false;

    const Rgb from = partsOf(entry->color1);
    const Rgb to = partsOf(entry->color2);
    // The share uses the drawn size, so the far side always reaches color2.
    const int w = std::clamp(cols, 0, bank.frame.cols());
    const int h = std::clamp(rows, 0, bank.frame.rows());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double t = gradientShare(direction, x, y, w, h);
            bank.frame.setRgb(x, y, roundToByte(from.r + (to.r - from.r) * t),
                              roundToByte(from.g + (to.g - from.g) * t),
                              roundToByte(from.b + (to.b - from.b) * t));
        }
    return true;
}

void drawGradient(BankContext& bank) {
    if (!renderGradient(bank.state(), bank.cols(), bank.rows())) {
        bank.showMessage(kBadGradientDirection);
        return;
    }
    bank.showFrame();
}

GradientEffect::GradientEffect(EffectServices& services)
    : editor_(std::make_unique<platform::FormSlot<MxGradientForm>>(services.desktop(),
                                                                   "MxGradientForm", services)) {
    registerEditorSlot<MxGradientForm>(services, "MxGradientForm", *editor_);
}

GradientEffect::~GradientEffect() = default;

void GradientEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void GradientEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.direction = from.direction;
}

}  // namespace kavrel
