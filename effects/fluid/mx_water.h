#pragma once
// The Fluid editor "Fluid": the entry's name, its two colours, the
// direction, the roughness, the speed and beat control, each written into
// the entry at once.
#include <array>

#include <memory>

#include "effects/common/edited_entry.h"
#include "effects/common/editor_window.h"
#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/control_declare.h"
#include "platform/desktop.h"
#include "platform/label.h"
#include "platform/picture_box.h"
#include "platform/slider.h"
#include "platform/text_box.h"
#include "platform/window.h"

namespace kavrel {

class BankContext;
class EffectServices;

class MxWater : public platform::Window {
  public:
    MxWater(platform::Desktop& desktop, EffectServices& services);

    // The edit buttons confirm it; Closeall leaves it shown.
    // The hooks hold the window's slot weakly: a module replaced or gone
    // leaves hooks that find no window.

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor1);
    PLATFORM_CONTROL(platform::PictureBox, Color1);
    PLATFORM_CONTROL(platform::Label, lblColor2);
    PLATFORM_CONTROL(platform::PictureBox, Color2);
    PLATFORM_CONTROL(platform::Label, lblDirection);
    // The direction buttons richtung(1), (3), (5) and (7): up, left, down, right.
    platform::Button& richtungUp = add<platform::Button>("richtung", 1);
    platform::Button& richtungLeft = add<platform::Button>("richtung", 3);
    platform::Button& richtungDown = add<platform::Button>("richtung", 5);
    platform::Button& richtungRight = add<platform::Button>("richtung", 7);
    PLATFORM_CONTROL(platform::Label, lblIntensity);
    PLATFORM_CONTROL(platform::Slider, slIntensity);
    PLATFORM_CONTROL(platform::Label, lblSpeed);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::CheckBox, beatControl);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds to the bank's current entry, fills and shows.
    void fill(BankContext& bank);

    void Color1_Click() { pickInto(Color1, false); }
    void Color2_Click() { pickInto(Color2, true); }
    void richtung_Click(int index);
    void myName_KeyPress(int& keyAscii);
    void OK_Click();
    void dropIfGone() { target_.dropIfGone(*this); }
    void slIntensity_Change();
    void slSpeed_Change();
    void beatControl_Click();

  private:
    void layoutControls();
    void pickInto(platform::PictureBox& box, bool second);
    void showDirection(int direction);
    // The edited entry, or null (and the window hidden) once it is gone.
    EffectRecord* edited();
    std::array<platform::Button*, 4> buttons() {
        return {&richtungUp, &richtungLeft, &richtungDown, &richtungRight};
    }

    EditedEntry target_;
    bool filling_ = false;
};

}  // namespace kavrel
