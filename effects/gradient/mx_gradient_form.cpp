#include "effects/gradient/mx_gradient_form.h"

#include <array>

#include "core/bank_context.h"
#include "core/effect_services.h"
#include "effects/common/editor_window.h"
#include "effects/gradient/gradient_effect.h"

namespace kavrel {

namespace {

struct Cell {
    int column, row;
};
// Where each direction button stands: a 3 x 3 grid, 9 and 10 beside it.
constexpr std::array<Cell, kDirectionButtons> kButtonCells{
    {{1, 1}, {1, 0}, {0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {3, 0}, {3, 2}}};

}  // namespace

MxGradientForm::MxGradientForm(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxGradientForm"), target_(services, EffectType::Gradient) {
    layoutControls();
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    Color1.onClick = [this] { Color1_Click(); };
    Color2.onClick = [this] { Color2_Click(); };
    for (int i = 0; i < kDirectionButtons; ++i)
        richtung[static_cast<size_t>(i)].onClick = [this, i] { richtung_Click(i); };
    OK.onClick = [this] { OK_Click(); };
}

void MxGradientForm::layoutControls() {
    setCaption("Gradient");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(220 * platform::kTwipsPerPixel);
    setHeight(210 * platform::kTwipsPerPixel);
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 60, 20);
    myName.move(72, 8, 132, 20);
    lblColor1.setCaption("Color1 : ");
    lblColor1.move(8, 40, 60, 20);
    Color1.move(72, 40, 40, 20);
    lblColor2.setCaption("Color2 : ");
    lblColor2.move(8, 68, 60, 20);
    Color2.move(72, 68, 40, 20);
    for (int i = 0; i < kDirectionButtons; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        const Cell cell = kButtonCells[static_cast<size_t>(i)];
        b.move(72 + 22 * static_cast<float>(cell.column), 96 + 22 * static_cast<float>(cell.row),
               20, 20);
        const DirectionPictures pics = directionPictures(i);
        b.setPicture(pics.normal);
        b.setDisabledPicture(pics.disabled);
        b.setDownPicture(pics.down);
    }
    OK.setCaption("OK");
    OK.move(70, 170, 80, 28);
}

void MxGradientForm::showDirection(int direction) {
    for (int i = 0; i < kDirectionButtons; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        b.setPicture(i == direction && b.DownPicture() ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxGradientForm::fill(BankContext& bank) {
    target_.bind(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    myName.setText(e->name);
    Color1.setBackColor(e->color1);
    Color2.setBackColor(e->color2);
    showDirection(e->direction);
    showEditor(target_.services(), *this);
}

void MxGradientForm::pickInto(platform::PictureBox& box, bool second) {
    if (target_.entry() == nullptr) return Hide();
    const uint32_t color = target_.pickEdited(box.BackColor());
    EffectRecord* e = target_.entry();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return Hide();  // gone while the mixer was shown
    box.setBackColor(color);
    (second ? e->color2 : e->color1) = color;
    drawGradient(*bank);
}

void MxGradientForm::richtung_Click(int index) {
    EffectRecord* e = target_.entry();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return Hide();
    if (index <= 0 || index >= kDirectionButtons) return;  // the centre square
    const SharedState& s = target_.services().state();
    const bool small = s.matrixCols < 3 || s.matrixRows < 3;
    if ((index == static_cast<int>(GradientDirection::CentreOut) ||
         index == static_cast<int>(GradientDirection::CentreIn)) &&
        small)
        return;
    showDirection(index);
    e->direction = static_cast<int16_t>(index);
    drawGradient(*bank);
}

void MxGradientForm::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxGradientForm::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
