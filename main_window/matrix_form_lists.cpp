// The main window's handlers of the bank and fade lists and their buttons.
#include "banks/bank_lists.h"
#include "banks/list_edit.h"
#include "banks/paste.h"
#include "banks/type_change.h"
#include "main_window/fade_list.h"
#include "main_window/matrix_form.h"
#include "main_window/mx_common_dialog.h"
#include "main_window/project_io.h"

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

// The type box runs the type handling on a user's choice, not while a list
// click or a paste only shows the entry's type.
void MatrixForm::typeA_Click() {
    if (!bankA_.showingType()) changeType(bankA_);
}
void MatrixForm::typeB_Click() {
    if (!bankB_.showingType()) changeType(bankB_);
}
void MatrixForm::upA_Click() {
    moveUp(efxAList);
}
void MatrixForm::upB_Click() {
    moveUp(efxBList);
}
void MatrixForm::upX_Click() {
    moveUp(efxXList);
}
void MatrixForm::removeA_Click() {
    removeEntry(bankA_);
}
void MatrixForm::removeB_Click() {
    removeEntry(bankB_);
}
void MatrixForm::removeX_Click() {
    removeFade(*this);
}
void MatrixForm::pasteMemA_Click() {
    pasteEntry(bankA_);
}
void MatrixForm::pasteMemB_Click() {
    pasteEntry(bankB_);
}
void MatrixForm::mxsave_Click() {
    saveProject(*this, commonDialog_.get());
}
void MatrixForm::myload_Click() {
    loadProject(*this, commonDialog_.get());
}

}  // namespace kavrel
