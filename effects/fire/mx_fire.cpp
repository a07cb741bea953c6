#include "effects/fire/mx_fire.h"

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/effect_services.h"
#include "effects/common/editor_window.h"
#include "effects/fire/fire_effect.h"
#include "platform/convert.h"

namespace kavrel {

MxFire::MxFire(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxFire"), target_(services, EffectType::Fire) {
    layoutControls();
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    Color1.onClick = [this] { Color1_Click(); };
    Color2.onClick = [this] { Color2_Click(); };
    slIntensity.onChange = [this] { slIntensity_Change(); };
    slIntensity.onScroll = [this] { slIntensity_Change(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    slSpeed.onScroll = [this] { slSpeed_Change(); };
    OK.onClick = [this] { OK_Click(); };
}

void MxFire::layoutControls() {
    setCaption("Fire");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(200 * platform::kTwipsPerPixel);
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 110, 20);
    myName.move(120, 8, 130, 20);
    lblColor1.setCaption("MainColor : ");
    lblColor1.move(8, 36, 110, 20);
    Color1.move(120, 36, 40, 20);
    lblColor2.setCaption("Secondary Color : ");
    lblColor2.move(8, 64, 110, 20);
    Color2.move(120, 64, 40, 20);
    lblIntensity.setCaption("Intensity : ");
    lblIntensity.move(8, 92, 110, 20);
    slIntensity.move(120, 92, 130, 20);
    slIntensity.setToolTipText("fire height");
    lblSpeed.setCaption("Speed : ");
    lblSpeed.move(8, 120, 110, 20);
    slSpeed.move(120, 120, 130, 20);
    slSpeed.setToolTipText("slow - fast");
    OK.setCaption("OK");
    OK.move(90, 152, 80, 28);
}

EffectRecord* MxFire::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr) Hide();
    return e;
}

void MxFire::fill(BankContext& bank) {
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
    filling_ = false;
    showEditor(target_.services(), *this);
}

void MxFire::pickInto(platform::PictureBox& box, bool second) {
    if (edited() == nullptr) return;
    const uint32_t color = target_.pickEdited(box.BackColor());
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;  // gone while the mixer was shown
    box.setBackColor(color);
    (second ? e->color2 : e->color1) = color;
    drawFire(*bank, true);
}

void MxFire::slIntensity_Change() {
    if (filling_) return;
    if (EffectRecord* e = edited()) e->level = static_cast<int16_t>(slIntensity.Value());
}

void MxFire::slSpeed_Change() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    bank->stepTimer().setInterval(fireInterval(e->speed));
}

void MxFire::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxFire::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
