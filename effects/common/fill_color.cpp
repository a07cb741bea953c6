#include "effects/common/fill_color.h"

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

}  // namespace kavrel
