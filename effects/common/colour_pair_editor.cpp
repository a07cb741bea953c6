#include "effects/common/colour_pair_editor.h"

#include "core/bank_context.h"
#include "effects/common/editor_window.h"

namespace kavrel {

ColourPairEditor::ColourPairEditor(platform::Desktop& desktop, const char* name,
                                   EffectServices& services, EffectType type, bool speedFollowsDrag)
    : Window(desktop, name), target_(services, type) {
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    Color1.onClick = [this] { Color1_Click(); };
    Color2.onClick = [this] { Color2_Click(); };
    slIntensity.onChange = [this] { slIntensity_Change(); };
    slIntensity.onScroll = [this] { slIntensity_Change(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    if (speedFollowsDrag) slSpeed.onScroll = [this] { slSpeed_Change(); };
    OK.onClick = [this] { OK_Click(); };
}

void ColourPairEditor::layoutNameAndColours() {
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 110, 20);
    myName.move(120, 8, 130, 20);
    lblColor1.setCaption("MainColor : ");
    lblColor1.move(8, 36, 110, 20);
    Color1.move(120, 36, 40, 20);
    lblColor2.setCaption("Secondary Color : ");
    lblColor2.move(8, 64, 110, 20);
    Color2.move(120, 64, 40, 20);
}

EffectRecord* ColourPairEditor::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr) Hide();
    return e;
}

void ColourPairEditor::fill(BankContext& bank) {
    target_.bind(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    // Setting the controls stores nothing back into the entry.
    filling_ = true;
    myName.setText(e->name);
    Color1.setBackColor(e->color1);
    Color2.setBackColor(e->color2);
    slIntensity.setValue(e->level);
    slSpeed.setValue(e->speed);
    fillMore(*e);
    filling_ = false;
    showEditor(target_.services(), *this);
}

void ColourPairEditor::pickInto(platform::PictureBox& box, bool second) {
    if (edited() == nullptr) return;
    const uint32_t color = target_.pickEdited(box.BackColor());
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;  // gone while the mixer was shown
    box.setBackColor(color);
    (second ? e->color2 : e->color1) = color;
    colourChanged(*bank);
}

void ColourPairEditor::slIntensity_Change() {
    if (filling_) return;
    if (EffectRecord* e = edited()) e->level = static_cast<int16_t>(slIntensity.Value());
}

void ColourPairEditor::slSpeed_Change() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    bank->stepTimer().setInterval(speedInterval(e->speed));
}

void ColourPairEditor::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void ColourPairEditor::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
