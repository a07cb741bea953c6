#pragma once
// The Fluid editor "Fluid": the entry's name, its two colours, the
// direction, the roughness, the speed and beat control, each written into
// the entry at once. The edit buttons confirm it; Closeall leaves it shown.
#include <array>

#include "effects/common/colour_pair_editor.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"

namespace kavrel {

class MxWater : public ColourPairEditor {
  public:
    MxWater(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::Label, lblDirection);
    // The direction buttons richtung(1), (3), (5) and (7): up, left, down, right.
    platform::Button& richtungUp = add<platform::Button>("richtung", 1);
    platform::Button& richtungLeft = add<platform::Button>("richtung", 3);
    platform::Button& richtungDown = add<platform::Button>("richtung", 5);
    platform::Button& richtungRight = add<platform::Button>("richtung", 7);
    PLATFORM_CONTROL(platform::CheckBox, beatControl);

    void richtung_Click(int index);
    void beatControl_Click();

  private:
    void layoutControls();
    void showDirection(int direction);
    int32_t speedInterval(int16_t speed) const override;
    // A new colour shows with the next step's new line.
    void fillMore(const EffectRecord& entry) override;
    std::array<platform::Button*, 4> buttons() {
        return {&richtungUp, &richtungLeft, &richtungDown, &richtungRight};
    }
};

}  // namespace kavrel
