#include "core/frame_loop.h"

#include "core/bank_view.h"
#include "core/kavrel.h"
#include "core/matrix_form.h"
#include "core/preview_panes.h"

namespace kavrel {

namespace {

const EffectKind* runningKind(Bank& bank) {
    const EffectRecord* entry = bank.state.currentEffect();
    return entry ? bank.kavrel.effects().find(entry->type) : nullptr;
}

}  // namespace

void stepTick(Bank& bank) {
    bank.timer1.setEnabled(false);
    const EffectKind* kind = runningKind(bank);
    if (kind && kind->step) kind->step(bank);
}

void secondTick(Bank& bank) {
    bank.timer2.setEnabled(false);
    const EffectKind* kind = runningKind(bank);
    if (kind && kind->secondTick) kind->secondTick(bank);
}

void beatStep(Bank& bank) {
    const EffectKind* kind = runningKind(bank);
    if (kind && kind->beat) kind->beat(bank);
}

void MatrixForm::timerA1_Timer() {
    stepTick(bankA_);
}
void MatrixForm::timerB1_Timer() {
    stepTick(bankB_);
}
void MatrixForm::timerA2_Timer() {
    secondTick(bankA_);
}
void MatrixForm::timerB2_Timer() {
    secondTick(bankB_);
}
void MatrixForm::beatStepA() {
    beatStep(bankA_);
}
void MatrixForm::beatStepB() {
    beatStep(bankB_);
}

void MatrixForm::dmx_active_Click() {
    updateDMXTimer.setEnabled(dmx_active.Value() == 1);
}

void MatrixForm::updateDMXTimer_Timer() {
    SharedState& s = kavrel_.state;
    if (!s.dirtyDmx) return;
    kavrel_.sendDmxFrame();
    s.dirtyDmx = false;
}

void MatrixForm::updateVoVevTimer_Timer() {
    // The preview window and the simulator link are fed from here once they
    // exist; until then a changed output only clears the flag.
    kavrel_.state.dirtySim = false;
}

void MatrixForm::updateMainTimer_Timer() {
    SharedState& s = kavrel_.state;
    redrawPane(paneM, s.frameM, s.shadowM, s.dirtyM, s.gridCols(), s.gridRows());
}

void MatrixForm::updateATimer_Timer() {
    redrawBankPane(bankA_);
}
void MatrixForm::updateBTimer_Timer() {
    redrawBankPane(bankB_);
}

}  // namespace kavrel
