// The Paint editor's operations on the whole picture: shifts, Clear, Undo,
// Get from the other bank and the palette.
#include "core/effect_services.h"
#include "core/shared_state.h"
#include "effects/paint/mx_pic_form.h"
#include "effects/paint/paint_tools.h"

namespace kavrel {

void MxPicForm::shiftPicture(void (*shift)(Grid2D<uint32_t>&, int, int)) {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    const SharedState& s = services_.state();
    shift(entry->pixels, s.gridCols(), s.gridRows());
    drawPaint();
}

void MxPicForm::BUp_Click() {
    shiftPicture(shiftUp);
}
void MxPicForm::BDown_Click() {
    shiftPicture(shiftDown);
}
void MxPicForm::BLeft_Click() {
    shiftPicture(shiftLeft);
}
void MxPicForm::BRight_Click() {
    shiftPicture(shiftRight);
}

// Diagonals: the vertical shift first, each shift drawing on its own.
void MxPicForm::BUpLeft_Click() {
    BUp_Click();
    BLeft_Click();
}
void MxPicForm::BUpRight_Click() {
    BUp_Click();
    BRight_Click();
}
void MxPicForm::BDownLeft_Click() {
    BDown_Click();
    BLeft_Click();
}
void MxPicForm::BDownRight_Click() {
    BDown_Click();
    BRight_Click();
}

void MxPicForm::PClear_Click() {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    const SharedState& s = services_.state();
    copyCells(entry->pixels, undoPixels, s.gridCols(), s.gridRows());
    for (int x = 0; x < s.gridCols(); ++x)
        for (int y = 0; y < s.gridRows(); ++y) entry->pixels.set(x, y, s.colorBlack);
    drawPaint();
}

// A copy, not an exchange: Undo again gives the same picture.
void MxPicForm::PUndo_Click() {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    const SharedState& s = services_.state();
    copyCells(undoPixels, entry->pixels, s.gridCols(), s.gridRows());
    drawPaint();
}

// What the other bank shows now; no undo snapshot.
void MxPicForm::PGet_Click() {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    const SharedState& s = services_.state();
    takeFrame(entry->pixels, s.bank(!bankB_).frame, s.gridCols(), s.gridRows());
    drawPaint();
}

void MxPicForm::myPalette_Click(int index) {
    if (index < 0 || static_cast<size_t>(index) >= myPalette.size()) return;
    PColor.setBackColor(myPalette[static_cast<size_t>(index)].BackColor());
}

}  // namespace kavrel
