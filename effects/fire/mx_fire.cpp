#include "effects/fire/mx_fire.h"

#include "effects/fire/fire_effect.h"
#include "platform/runtime/convert.h"

namespace kavrel {

MxFire::MxFire(platform::Desktop& desktop, EffectServices& services)
    : ColourPairEditor(desktop, "MxFire", services, EffectType::Fire, true) {
    layoutControls();
}

void MxFire::layoutControls() {
    setCaption("Fire");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(200 * platform::kTwipsPerPixel);
    layoutNameAndColours();
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

int32_t MxFire::speedInterval(int16_t speed) const {
    return fireInterval(speed);
}

void MxFire::colourChanged(BankContext& bank) {
    drawFire(bank, true);
}

}  // namespace kavrel
