#include "effects/color_scroll/color_scroll_effect.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/bank_context.h"
#include "core/record_copy.h"
#include "effects/color_scroll/mx_color_scroll.h"
#include "effects/color_scroll/scroll_strip.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

int32_t scrollInterval(int64_t speed) {
    const double d = static_cast<double>(speed - 100);
    const double ms = platform::roundHalfEven(0.8 * d * d + 10.0);
    return ms >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(ms);
}

void buildScrollStrip(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr || !buildStrip(bank.state(), *e)) bank.stepTimer().setEnabled(false);
}

void scrollColors(BankContext& bank) {
    if (const EffectRecord* e = bank.entry())
        scrollStep(bank.state(), *e, bank.cols(), bank.rows());
    bank.showFrame();
}

ColorScrollEffect::ColorScrollEffect(EffectServices& services)
    : editor_(std::make_unique<platform::FormSlot<MxColorScroll>>(services.desktop(),
                                                                  "MxColorScroll", services)) {
    editorHooks_ = registerEditorSlot<MxColorScroll>(services, "MxColorScroll", *editor_);
}

ColorScrollEffect::~ColorScrollEffect() = default;

void ColorScrollEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void ColorScrollEffect::start(BankContext& bank) {
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    BankState& s = bank.state();
    if (e->colorCount < 2) {
        bank.stepTimer().setEnabled(false);
        bank.showMessage(kScrollNotConfigured);
        return;
    }
    s.colIdx = 0;
    s.step = 0;
    buildScrollStrip(bank);
    if (e->beat == 0) {
        s.beat = false;
        bank.stepTimer().setInterval(scrollInterval(e->speed));
        bank.stepTimer().setEnabled(true);
    } else {
        s.beat = true;
    }
}

void ColorScrollEffect::chooseAgain(BankContext& bank) {
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    BankState& s = bank.state();
    e->colorValues.resize(static_cast<size_t>(std::max<int16_t>(e->colorCount, 0)) + 1, 0);
    s.colIdx = 0;
    buildScrollStrip(bank);
    if (e->colorCount < 2) {
        bank.showMessage(kScrollNotConfigured);
        return;
    }
    if (e->beat == 0) {
        s.beat = false;
        bank.stepTimer().setInterval(scrollInterval(e->speed));
        bank.stepTimer().setEnabled(true);
    } else {
        s.beat = true;
    }
}

void ColorScrollEffect::step(BankContext& bank) {
    scrollColors(bank);
    bank.stepTimer().setEnabled(true);
}

void ColorScrollEffect::beat(BankContext& bank) {
    // A strip is there only for an entry of at least two colours.
    const EffectRecord* e = bank.entry();
    const BankState& s = bank.state();
    if (e == nullptr || e->colorCount < 2 || s.stripLen <= 0 || s.strip.empty()) return;
    if (bank.secondTimer().Enabled()) return;  // within the lock-out
    bank.secondTimer().setEnabled(true);
    scrollColors(bank);
}

void ColorScrollEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.colorCount = from.colorCount;
    to.colors = copyCounted(from.colors, from.colorCount);
    to.colorValues = copyCounted(from.colorValues, from.colorCount);
    to.beat = from.beat;
    to.speed = from.speed;
    to.direction = from.direction;
    to.blend = from.blend;
}

}  // namespace kavrel
