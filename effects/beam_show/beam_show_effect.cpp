#include "effects/beam_show/beam_show_effect.h"

#include <limits>

#include "core/bank_context.h"
#include "effects/beam_show/beam_render.h"
#include "effects/beam_show/mx_laser.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

int32_t beamInterval(int64_t speed) {
    const double d = static_cast<double>(speed - 100);
    const double ms = platform::roundHalfEven(0.4 * d * d + 10.0);
    return ms >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(ms);
}

void drawBeamShow(BankContext& bank) {
    if (const EffectRecord* e = bank.entry()) {
        platform::Desktop& desktop = bank.services().desktop();
        renderBeamShow(bank.state(), *e, bank.cols(), bank.rows(), desktop.random(),
                       desktop.loop().secondsSinceMidnight());
    }
    bank.showFrame();
}

BeamShowEffect::BeamShowEffect(EffectServices& services)
    : editor_(
          std::make_unique<platform::FormSlot<MxLaser>>(services.desktop(), "MxLaser", services)) {
    editorHooks_ = registerEditorSlot<MxLaser>(services, "MxLaser", *editor_, EditorOk::OwnOnly,
                                               EditorCloseall::Keeps);
}

BeamShowEffect::~BeamShowEffect() = default;

void BeamShowEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void BeamShowEffect::start(BankContext& bank) {
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    growBeams(*e);
    BankState& s = bank.state();
    for (size_t i = 0; i < kBeams; ++i) {
        if (e->colorValues[i] == 2 || e->colorValues[i] == 3) s.laserDir[i] = 1;
        s.laserPos[i] = 0;
    }
    bank.stepTimer().setInterval(beamInterval(e->speed));
    // A beat flag left set by an earlier entry would step this one twice.
    s.beat = e->beat != 0;
    if (e->beat == 0) bank.stepTimer().setEnabled(true);
    drawBeamShow(bank);
}

void BeamShowEffect::choose(BankContext& bank, bool) {
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    growBeams(*e);
    drawBeamShow(bank);
    bank.stepTimer().setInterval(beamInterval(e->speed));
    if (e->beat == 0) {
        bank.stepTimer().setEnabled(true);
    } else {
        bank.state().beat = true;
    }
}

void BeamShowEffect::step(BankContext& bank) {
    drawBeamShow(bank);
    bank.stepTimer().setEnabled(true);
}

void BeamShowEffect::beat(BankContext& bank) {
    if (bank.secondTimer().Enabled()) return;  // within the lock-out
    bank.secondTimer().setEnabled(true);
    drawBeamShow(bank);
}

}  // namespace kavrel
