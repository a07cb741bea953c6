#include "effects/fire/fire_effect.h"

#include <limits>

#include "core/bank_context.h"
#include "core/light_painter.h"
#include "effects/fire/fire_render.h"
#include "effects/fire/mx_fire.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

int32_t fireInterval(int64_t speed) {
    const double d = static_cast<double>(speed - 100);
    const double ms = platform::roundHalfEven(0.4 * d * d + 10.0);
    return ms >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(ms);
}

void drawFire(BankContext& bank, bool redraw) {
    if (const EffectRecord* e = bank.entry()) {
        platform::Desktop& desktop = bank.services().desktop();
        renderFire(bank.state().frame, *e, bank.cols(), bank.rows(), desktop.random(),
                   desktop.loop().secondsSinceMidnight());
    }
    if (redraw) bank.showFrame();
}

FireEffect::FireEffect(EffectServices& services)
    : editor_(
          std::make_unique<platform::FormSlot<MxFire>>(services.desktop(), "MxFire", services)) {
    editorHooks_ = registerEditorSlot<MxFire>(services, "MxFire", *editor_,
                                              EditorOk::ConfirmedByEdit, EditorCloseall::Hides);
}

FireEffect::~FireEffect() = default;

void FireEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void FireEffect::start(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    fillLights(bank.state().frame, bank.cols(), bank.rows(), 0u);
    bank.showFrame();
    for (int i = 0; i < 10; ++i) drawFire(bank, false);
    drawFire(bank, true);
    bank.stepTimer().setInterval(fireInterval(e->speed));
    bank.stepTimer().setEnabled(true);
}

void FireEffect::choose(BankContext& bank, bool changed) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (changed) {
        fillLights(bank.state().frame, bank.cols(), bank.rows(), 0u);
        bank.showFrame();
    }
    for (int i = 0; i < 10; ++i) drawFire(bank, false);
    bank.showFrame();
    bank.stepTimer().setInterval(fireInterval(e->speed));
    bank.stepTimer().setEnabled(true);
}

void FireEffect::step(BankContext& bank) {
    drawFire(bank, true);
    bank.stepTimer().setEnabled(true);
}

void FireEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
}

}  // namespace kavrel
