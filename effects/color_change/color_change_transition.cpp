#include "effects/color_change/color_change_transition.h"

#include <algorithm>
#include <cmath>

#include "core/bank_context.h"
#include "core/colors.h"
#include "effects/color_change/color_change_timing.h"
#include "effects/common/fill_color.h"
#include "platform/windows/desktop.h"

namespace kavrel {

namespace {

struct Rgb {
    uint8_t r, g, b;
};

Rgb partsOf(uint32_t c) {
    return {getColorPart(c, kRedMask), getColorPart(c, kGreenMask), getColorPart(c, kBlueMask)};
}

uint8_t blend(uint8_t from, uint8_t to, double ratio) {
    // Floored as stored; for equal parts this can give one less.
    const double v = std::floor(from * (1.0 - ratio) + to * ratio);
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

void paintRect(Frame& frame, int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) frame.setRgb(x, y, c.r, c.g, c.b);
}

// The lit cell of a per-cell step, or false when the state does not fit the
// matrix any more (it shrank, or a column has no free cell left).
bool cellOfStep(BankState& s, int16_t mode, int cols, int rows, int& x, int& y) {
    const size_t step = static_cast<size_t>(s.step);
    if (step + 1 >= s.pixelOrder.size()) return false;
    const int32_t p = s.pixelOrder[step];
    if (p < 0) return false;
    if (mode == static_cast<int16_t>(FadeMode::Random)) {
        x = p % cols;
        y = p / cols;
        return y < rows;
    }
    x = p / rows;
    if (x >= cols) return false;
    for (int k = 0; k < rows; ++k) {
        if (s.freeCell.get(x, k, false)) {
            s.freeCell.at(x, k) = false;
            y = mode == static_cast<int16_t>(FadeMode::FillUp) ? rows - 1 - k : k;
            return true;
        }
    }
    return false;
}

// Draws step s.step into the frame and shows it; false when it cannot.
bool drawStep(BankContext& bank, const EffectRecord& e) {
    BankState& s = bank.state();
    const int cols = std::min(bank.cols(), s.frame.cols());
    const int rows = std::min(bank.rows(), s.frame.rows());
    if (cols < 1 || rows < 1) return false;
    const Rgb next = partsOf(e.color1);
    const int step = s.step;
    switch (static_cast<FadeMode>(e.fadeMode)) {
        case FadeMode::Fade: {
            const double r = static_cast<double>(step) / s.stepMax;
            s.colorFadeRatio = r;
            const Rgb prev = partsOf(e.color2);
            paintRect(
                s.frame, 0, 0, cols, rows,
                {blend(prev.r, next.r, r), blend(prev.g, next.g, r), blend(prev.b, next.b, r)});
            bank.showFrame();
            return true;
        }
        case FadeMode::Random:
        case FadeMode::FillDown:
        case FadeMode::FillUp: {
            int x = 0, y = 0;
            if (!cellOfStep(s, e.fadeMode, cols, rows, x, y)) return false;
            s.frame.setRgb(x, y, next.r, next.g, next.b);
            bank.showLight(x, y);
            return true;
        }
        case FadeMode::ScrollUp:
        case FadeMode::ScrollDown: {
            if (step >= rows) return false;
            const int y =
                e.fadeMode == static_cast<int16_t>(FadeMode::ScrollUp) ? rows - 1 - step : step;
            paintRect(s.frame, 0, y, cols, y + 1, next);
            bank.showFrame();
            return true;
        }
        case FadeMode::ScrollLeft:
        case FadeMode::ScrollRight: {
            if (step >= cols) return false;
            const int x =
                e.fadeMode == static_cast<int16_t>(FadeMode::ScrollLeft) ? cols - 1 - step : step;
            paintRect(s.frame, x, 0, x + 1, rows, next);
            bank.showFrame();
            return true;
        }
        case FadeMode::None:
            break;
    }
    return false;
}

void endTransition(BankContext& bank, EffectRecord& e) {
    BankState& s = bank.state();
    fillColor(bank);
    s.colorFadeRunning = false;
    e.fadeMode = s.pendingFade;
    bank.stepTimer().setEnabled(true);
}

}  // namespace

void armTransition(BankContext& bank) {
    BankState& s = bank.state();
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    const int cols = bank.cols();
    const int rows = bank.rows();
    s.stepMax = transitionSteps(e->fadeMode, e->level, cols, rows);
    bank.secondTimer().setInterval(transitionInterval(e->level, s.stepMax));
    if (usesCellOrder(e->fadeMode)) {
        platform::Desktop& desktop = bank.services().desktop();
        desktop.random().reseedFromTime(desktop.loop().secondsSinceMidnight());
        shuffleCells(s.pixelOrder, s.stepMax, desktop.random());
    }
    if (fillsColumns(e->fadeMode)) {
        s.freeCell.assign(cols, rows, false);
        for (int k = 0; k < rows; ++k)
            for (int x = 0; x < cols; ++x) s.freeCell.at(x, k) = true;
    }
    s.colorFadeRunning = true;
    s.step = 0;
    bank.secondTimer().setEnabled(true);
}

void transitionTick(BankContext& bank) {
    BankState& s = bank.state();
    EffectRecord* e = bank.entry();
    if (e == nullptr || !s.colorFadeRunning) return;
    if (s.step >= 0 && s.step < s.stepMax && isTransition(e->fadeMode) && drawStep(bank, *e)) {
        ++s.step;
        bank.secondTimer().setEnabled(true);
        return;
    }
    endTransition(bank, *e);
}

}  // namespace kavrel
