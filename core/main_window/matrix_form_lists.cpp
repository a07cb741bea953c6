// The main window's handlers of the bank and fade lists and their buttons.
#include "banks/bank_lists.h"
#include "core/main_window/fade_list.h"
#include "core/main_window/matrix_form.h"

namespace kavrel {

void MatrixForm::efxAList_Click() {
    selectEntry(bankA_);
}
void MatrixForm::efxBList_Click() {
    selectEntry(bankB_);
}
void MatrixForm::efxXList_Click() {
    selectFade(*this);
}
void MatrixForm::addA_Click() {
    addEntry(bankA_);
}
void MatrixForm::addB_Click() {
    addEntry(bankB_);
}
void MatrixForm::addX_Click() {
    addFade(*this);
}
void MatrixForm::clearA_Click() {
    clearEntry(bankA_);
}
void MatrixForm::clearB_Click() {
    clearEntry(bankB_);
}
void MatrixForm::copyMemA_Click() {
    copyEntry(bankA_);
}
void MatrixForm::copyMemB_Click() {
    copyEntry(bankB_);
}
void MatrixForm::downA_Click() {
    moveDown(efxAList);
}
void MatrixForm::downB_Click() {
    moveDown(efxBList);
}
void MatrixForm::downX_Click() {
    moveDown(efxXList);
}
void MatrixForm::editA_Click() {
    editEntry(bankA_);
}
void MatrixForm::editB_Click() {
    editEntry(bankB_);
}

}  // namespace kavrel
