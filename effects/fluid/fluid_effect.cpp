#include "effects/fluid/fluid_effect.h"

#include <limits>

#include "core/bank_context.h"
#include "effects/fluid/fluid_render.h"
#include "effects/fluid/mx_water.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

int32_t fluidInterval(int64_t speed) {
    const double d = static_cast<double>(speed - 100);
    const double ms = platform::roundHalfEven(0.4 * d * d + 10.0);
    return ms >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(ms);
}

void drawFluid(BankContext& bank, bool redraw) {
    if (const EffectRecord* e = bank.entry()) {
        platform::Desktop& desktop = bank.services().desktop();
        renderFluid(bank.state().frame, *e, bank.cols(), bank.rows(), desktop.random(),
                    desktop.loop().secondsSinceMidnight());
    }
    if (redraw) bank.showFrame();
}

FluidEffect::FluidEffect(EffectServices& services)
    : editor_(
          std::make_unique<platform::FormSlot<MxWater>>(services.desktop(), "MxWater", services)) {
    editorHooks_ = registerEditorSlot<MxWater>(services, "MxWater", *editor_,
                                               EditorOk::ConfirmedByEdit, EditorCloseall::Keeps);
}

FluidEffect::~FluidEffect() = default;

void FluidEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

namespace {

// As many silent steps as the picture is long in the moving direction, then
// one shown.
void primeFluid(BankContext& bank, const EffectRecord& e) {
    const int steps = e.direction == 1 || e.direction == 5 ? bank.rows() : bank.cols();
    for (int i = 0; i < steps; ++i) drawFluid(bank, false);
    drawFluid(bank, true);
}

}  // namespace

void FluidEffect::start(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    primeFluid(bank, *e);
    if (e->beat == 0) {
        bank.state().beat = false;
        bank.stepTimer().setInterval(fluidInterval(e->speed));
        bank.stepTimer().setEnabled(true);
    } else {
        bank.state().beat = true;
    }
}

void FluidEffect::choose(BankContext& bank, bool changed) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (changed) bank.state().step = 0;
    primeFluid(bank, *e);
    bank.stepTimer().setInterval(fluidInterval(e->speed));
    bank.stepTimer().setEnabled(true);
}

void FluidEffect::step(BankContext& bank) {
    drawFluid(bank, true);
    bank.stepTimer().setEnabled(true);
}

void FluidEffect::beat(BankContext& bank) {
    if (bank.secondTimer().Enabled()) return;  // within the lock-out
    bank.secondTimer().setEnabled(true);
    drawFluid(bank, true);
}

void FluidEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
    to.direction = from.direction;
}

}  // namespace kavrel
