#include "main_window/main_window.h"

#include "core/kavrel.h"
#include "main_window/matrix_form.h"
#include "main_window/mx_common_dialog.h"

namespace kavrel {

MainWindow::MainWindow(Kavrel& kavrel)
    : kavrel_(kavrel),
      dialogSlot_(kavrel.desktop(), "mxCommonDialog"),
      slot_(kavrel.desktop(), "MatrixForm", kavrel, dialogSlot_) {
    kavrel_.attachMainWindow(this);
}

MainWindow::~MainWindow() {
    kavrel_.attachMainWindow(nullptr);
}

MatrixForm& MainWindow::form() {
    return slot_.get();
}

MatrixForm* MainWindow::loadedForm() {
    MatrixForm* form = slot_.peek();
    return form != nullptr && form->isLoaded() ? form : nullptr;
}

platform::Window* MainWindow::loadedWindow() {
    return loadedForm();
}

BankContext* MainWindow::bank(BankId id) {
    MatrixForm* form = loadedForm();
    return form != nullptr ? &form->bank(id) : nullptr;
}

uint32_t MainWindow::fadeColor() {
    MatrixForm* form = loadedForm();
    return form != nullptr ? form->MFadeColor.BackColor() : 0u;
}

void MainWindow::beatStep(BankId id) {
    MatrixForm* form = loadedForm();
    if (form == nullptr) return;
    if (id == BankId::A) {
        form->beatStepA();
    } else {
        form->beatStepB();
    }
}

}  // namespace kavrel
