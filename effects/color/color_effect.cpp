#include "effects/color/color_effect.h"

#include "core/bank_context.h"
#include "core/light_painter.h"

namespace kavrel {

void renderColor(BankState& bank, int cols, int rows) {
    const EffectRecord* entry = bank.currentEffect();
    fillLights(bank.frame, cols, rows, entry != nullptr ? entry->color1 : 0u);
}

void fillColor(BankContext& bank) {
    renderColor(bank.state(), bank.cols(), bank.rows());
    bank.showFrame();
}

void ColorEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
}

}  // namespace kavrel
