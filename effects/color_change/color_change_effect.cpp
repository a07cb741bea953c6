#include "effects/color_change/color_change_effect.h"

#include "core/bank_context.h"
#include "core/light_painter.h"
#include "core/record_copy.h"
#include "effects/color_change/color_change_entry.h"
#include "effects/color_change/color_change_timing.h"
#include "effects/color_change/color_change_transition.h"
#include "effects/color_change/mx_color_change.h"
#include "effects/common/editor_window.h"
#include "effects/common/fill_color.h"
#include "platform/windows/desktop.h"

namespace kavrel {

inline constexpr const char* kNotConfigured = "ColorChange not configured ! Please edit Effect.";

void startColorChange(BankContext& bank) {
    BankState& s = bank.state();
    // Every start begins with the first colour and cuts off any transition.
    s.colIdx = 0;
    s.colorFadeRunning = false;
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (e->colorCount < 1) {
        fillLights(s.frame, bank.cols(), bank.rows(), 0u);
        bank.showFrame();  // the panes and the output show the black too
        bank.stopTimers();
        s.beat = false;
        bank.showMessage(kNotConfigured);
        return;
    }
    s.pendingFade = e->fadeMode;
    e->color1 = colourOf(*e, s.colIdx);
    fillColor(bank);
    if (e->colorCount == 1) return;
    if (e->speed == 0) e->speed = 50;
    bank.stepTimer().setInterval(colourInterval(timeOf(*e, s.colIdx), e->speed));
    const bool byBeat = e->beat != 0;
    bank.stepTimer().setEnabled(!byBeat);
    s.beat = byBeat;
}

void stepColorChange(BankContext& bank) {
    BankState& s = bank.state();
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    const int16_t was = checkedColourIndex(s, *e);
    e->color2 = colourOf(*e, was);
    s.colIdx = nextColourIndex(was, e->colorCount);
    e->color1 = colourOf(*e, s.colIdx);
    bank.stepTimer().setInterval(colourInterval(timeOf(*e, s.colIdx), e->speed));
    if (e->fadeMode == static_cast<int16_t>(FadeMode::None)) {
        fillColor(bank);
        if (e->beat == 0) bank.stepTimer().setEnabled(true);
    } else if (isTransition(e->fadeMode)) {
        armTransition(bank);
    } else {
        bank.secondTimer().setEnabled(false);  // an unknown mode freezes the entry
    }
}

void beatColorChange(BankContext& bank) {
    BankState& s = bank.state();
    EffectRecord* e = bank.entry();
    if (e == nullptr || bank.secondTimer().Enabled() || e->colorCount < 2) return;
    const int16_t was = checkedColourIndex(s, *e);
    e->color2 = colourOf(*e, was);
    s.colIdx = nextColourIndex(was, e->colorCount);
    bank.secondTimer().setEnabled(true);
    e->color1 = colourOf(*e, s.colIdx);
    fillColor(bank);
}

ColorChangeEffect::ColorChangeEffect(EffectServices& services)
    : editor_(std::make_unique<platform::FormSlot<MxColorChange>>(services.desktop(),
                                                                  "MxColorChange", services)) {
    editorHooks_ = registerEditorSlot<MxColorChange>(services, "MxColorChange", *editor_);
}

ColorChangeEffect::~ColorChangeEffect() = default;

void ColorChangeEffect::start(BankContext& bank) {
    startColorChange(bank);
}

void ColorChangeEffect::step(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e != nullptr && e->colorCount >= 2) stepColorChange(bank);
}

void ColorChangeEffect::secondTick(BankContext& bank) {
    transitionTick(bank);
}

void ColorChangeEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void ColorChangeEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.colorCount = from.colorCount;
    to.colors = copyCounted(from.colors, from.colorCount);
    to.durations = copyCounted(from.durations, from.colorCount);
    to.beat = from.beat;
    to.speed = from.speed;
    to.level = from.level;
    to.fadeMode = from.fadeMode;
}

}  // namespace kavrel
