#include "core/still_effects.h"

#include "core/bank_render.h"
#include "core/bank_view.h"
#include "core/effect_table.h"
#include "core/kavrel.h"

namespace kavrel {

namespace {

void shown(Bank& bank) {
    bank.state.dirty = true;
    bank.kavrel.mixMatrix(bank.kavrel.state.mixPos);
}

}  // namespace

void fillColor(Bank& bank) {
    const SharedState& s = bank.kavrel.state;
    fillColor(bank.state, s.gridCols(), s.gridRows());
    shown(bank);
}

void drawGradient(Bank& bank) {
    const SharedState& s = bank.kavrel.state;
    if (!drawGradient(bank.state, s.gridCols(), s.gridRows())) {
        bank.kavrel.showMessage("direction not correct !");
        return;
    }
    shown(bank);
}

void drawPaint(Bank& bank) {
    const SharedState& s = bank.kavrel.state;
    drawPaint(bank.state, s.gridCols(), s.gridRows());
    shown(bank);
}

void registerStillEffects(EffectTable& table) {
    table.kind(EffectType::Color).start = [](Bank& b) { fillColor(b); };
    table.kind(EffectType::Gradient).start = [](Bank& b) { drawGradient(b); };
    table.kind(EffectType::Paint).start = [](Bank& b) { drawPaint(b); };
}

}  // namespace kavrel
