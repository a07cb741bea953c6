#include "effects/color/mx_color_form.h"

#include "core/bank_context.h"
#include "effects/common/editor_window.h"
#include "effects/common/fill_color.h"

namespace kavrel {

MxColorForm::MxColorForm(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxColorForm"), target_(services, EffectType::Color) {
    setCaption("Color");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(220 * platform::kTwipsPerPixel);
    setHeight(140 * platform::kTwipsPerPixel);
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 60, 20);
    myName.move(72, 8, 132, 20);
    lblColor.setCaption("Color : ");
    lblColor.move(8, 40, 60, 20);
    Color.move(72, 40, 40, 20);
    OK.setCaption("OK");
    OK.move(70, 76, 80, 28);

    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    Color.onClick = [this] { Color_Click(); };
    OK.onClick = [this] { OK_Click(); };
}

void MxColorForm::fill(BankContext& bank) {
    target_.bind(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    myName.setText(e->name);
    Color.setBackColor(e->color1);
    showEditor(target_.services(), *this);
}

void MxColorForm::Color_Click() {
    if (target_.entry() == nullptr) return Hide();
    const uint32_t color = target_.pickEdited(Color.BackColor());
    EffectRecord* e = target_.entry();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return Hide();  // gone while the mixer was shown
    Color.setBackColor(color);
    e->color1 = color;
    fillColor(*bank);
}

void MxColorForm::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxColorForm::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
