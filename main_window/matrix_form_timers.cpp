// The main window's timers: the banks' step and second timers, the beat
// dispatchers, and the fixed-rate timers of the DMX output, the simulators and
// the preview panes.
#include "core/bank_dispatch.h"
#include "core/kavrel.h"
#include "core/preview_panes.h"
#include "main_window/matrix_form.h"

namespace kavrel {

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
    SharedState& s = kavrel_.state();
    if (!s.dirtyDmx) return;
    kavrel_.sendDmxFrame();
    s.dirtyDmx = false;
}

void MatrixForm::vovev_active_Click() {
    previews_.vovev_active_Click();
}

void MatrixForm::extmxsim_active_Click() {
    previews_.extmxsim_active_Click();
}

void MatrixForm::updateVoVevTimer_Timer() {
    SharedState& s = kavrel_.state();
    // A link whose peer went away ends here even while the output stands still.
    previews_.watchLink();
    if (!s.dirtySim) return;
    if (vovev_active.Value() == 1) previews_.drawSimulator();
    if (s.extSimConnected) previews_.sendExtSimulator();
    s.dirtySim = false;
}

void MatrixForm::updateMainTimer_Timer() {
    SharedState& s = kavrel_.state();
    redrawPane(paneM, s.frameM, s.shadowM, s.dirtyM, s.gridCols(), s.gridRows());
}

void MatrixForm::updateATimer_Timer() {
    redrawBankPane(bankA_);
}
void MatrixForm::updateBTimer_Timer() {
    redrawBankPane(bankB_);
}

int MatrixForm::paneCellSize(const platform::PictureBox& pane) const {
    return kavrel::paneCellSize(pane, kavrel_.state().gridCols(), kavrel_.state().gridRows());
}

void MatrixForm::layoutPanes() {
    SharedState& s = kavrel_.state();
    clearPane(paneM, s.shadowM);
    clearPane(paneA, s.bankA.shadow);
    clearPane(paneB, s.bankB.shadow);
}

}  // namespace kavrel
