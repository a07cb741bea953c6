#include "effects/fluid/mx_water.h"

#include <memory>

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/effect_services.h"
#include "effects/common/beat_control.h"
#include "effects/common/editor_window.h"
#include "effects/fluid/fluid_effect.h"

namespace kavrel {

namespace {

constexpr int kDirections[4] = {1, 3, 5, 7};

platform::PicturePtr plainPicture(platform::Color c) {
    return std::make_shared<const platform::Surface>(16, 16, c);
}

}  // namespace

MxWater::MxWater(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxWater"), target_(services, EffectType::Fluid) {
    layoutControls();
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    Color1.onClick = [this] { Color1_Click(); };
    Color2.onClick = [this] { Color2_Click(); };
    for (size_t i = 0; i < 4; ++i)
        buttons()[i]->onClick = [this, i] { richtung_Click(kDirections[i]); };
    slIntensity.onChange = [this] { slIntensity_Change(); };
    slIntensity.onScroll = [this] { slIntensity_Change(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    beatControl.onClick = [this] { beatControl_Click(); };
    OK.onClick = [this] { OK_Click(); };
}

void MxWater::layoutControls() {
    setCaption("Fluid");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(300 * platform::kTwipsPerPixel);
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 110, 20);
    myName.move(120, 8, 130, 20);
    lblColor1.setCaption("MainColor : ");
    lblColor1.move(8, 36, 110, 20);
    Color1.move(120, 36, 40, 20);
    lblColor2.setCaption("Secondary Color : ");
    lblColor2.move(8, 64, 110, 20);
    Color2.move(120, 64, 40, 20);
    lblDirection.setCaption("Direction : ");
    lblDirection.move(8, 92, 110, 20);
    // A diamond: up on top, left and right beside, down below.
    const float cell[4][2] = {{1, 0}, {0, 1}, {1, 2}, {2, 1}};
    for (size_t i = 0; i < 4; ++i) {
        platform::Button& b = *buttons()[i];
        b.move(120 + 22 * cell[i][0], 92 + 22 * cell[i][1], 20, 20);
        b.setPicture(plainPicture(platform::rgb(192, 192, 192)));
        b.setDownPicture(plainPicture(platform::rgb(255, 255, 192)));
        b.setDisabledPicture(plainPicture(platform::rgb(160, 160, 160)));
    }
    lblIntensity.setCaption("Roughness : ");
    lblIntensity.move(8, 164, 110, 20);
    slIntensity.move(120, 164, 130, 20);
    slIntensity.setToolTipText("fire height");
    lblSpeed.setCaption("Speed : ");
    lblSpeed.move(8, 192, 110, 20);
    slSpeed.move(120, 192, 130, 20);
    slSpeed.setToolTipText("slow - fast");
    beatControl.setCaption("Beat Control : ");
    beatControl.move(8, 220, 160, 20);
    OK.setCaption("OK");
    OK.move(90, 252, 80, 28);
}

EffectRecord* MxWater::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr) Hide();
    return e;
}

void MxWater::showDirection(int direction) {
    for (size_t i = 0; i < 4; ++i) {
        platform::Button& b = *buttons()[i];
        b.setPicture(kDirections[i] == direction ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxWater::fill(BankContext& bank) {
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
    showDirection(e->direction);
    beatControl.setValue(e->beat == 1 ? 1 : 0);
    filling_ = false;
    showEditor(target_.services(), *this);
}

void MxWater::pickInto(platform::PictureBox& box, bool second) {
    if (edited() == nullptr) return;
    const uint32_t color = target_.pickEdited(box.BackColor());
    EffectRecord* e = edited();
    if (e == nullptr) return;  // gone while the mixer was shown
    box.setBackColor(color);
    // The next step's new line shows it.
    (second ? e->color2 : e->color1) = color;
}

void MxWater::richtung_Click(int index) {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    showDirection(index);
    e->direction = static_cast<int16_t>(index);
    drawFluid(*bank, true);
}

void MxWater::slIntensity_Change() {
    if (filling_) return;
    if (EffectRecord* e = edited()) e->level = static_cast<int16_t>(slIntensity.Value());
}

void MxWater::slSpeed_Change() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    bank->stepTimer().setInterval(fluidInterval(e->speed));
}

void MxWater::beatControl_Click() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    setBeatControl(*bank, *e, beatControl.Value() == 1, true);
}

void MxWater::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxWater::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
