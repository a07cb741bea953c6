#include "effects/fluid/mx_water.h"

#include <memory>

#include "core/bank_context.h"
#include "effects/common/beat_control.h"
#include "effects/fluid/fluid_effect.h"

namespace kavrel {

namespace {

constexpr int kDirections[4] = {1, 3, 5, 7};

platform::PicturePtr plainPicture(platform::Color c) {
    return std::make_shared<const platform::Surface>(16, 16, c);
}

}  // namespace

MxWater::MxWater(platform::Desktop& desktop, EffectServices& services)
    : ColourPairEditor(desktop, "MxWater", services, EffectType::Fluid, false) {
    layoutControls();
    for (size_t i = 0; i < 4; ++i)
        buttons()[i]->onClick = [this, i] { richtung_Click(kDirections[i]); };
    beatControl.onClick = [this] { beatControl_Click(); };
}

void MxWater::layoutControls() {
    setCaption("Fluid");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(300 * platform::kTwipsPerPixel);
    layoutNameAndColours();
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

void MxWater::showDirection(int direction) {
    for (size_t i = 0; i < 4; ++i) {
        platform::Button& b = *buttons()[i];
        b.setPicture(kDirections[i] == direction ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxWater::fillMore(const EffectRecord& entry) {
    showDirection(entry.direction);
    beatControl.setValue(entry.beat == 1 ? 1 : 0);
}

int32_t MxWater::speedInterval(int16_t speed) const {
    return fluidInterval(speed);
}

void MxWater::richtung_Click(int index) {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    showDirection(index);
    e->direction = static_cast<int16_t>(index);
    drawFluid(*bank, true);
}

void MxWater::beatControl_Click() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    setBeatControl(*bank, *e, beatControl.Value() == 1, true);
}

}  // namespace kavrel
