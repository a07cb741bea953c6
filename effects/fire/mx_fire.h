#pragma once
// The Fire editor "Fire": the entry's name, its two colours, the flame
// height and the speed, each written into the entry at once.
#include <memory>

#include "effects/common/edited_entry.h"
#include "effects/common/editor_window.h"
#include "platform/button.h"
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

class MxFire : public platform::Window {
  public:
    MxFire(platform::Desktop& desktop, EffectServices& services);

    // The edit buttons confirm it and Closeall hides it.
    // The hooks hold the window's slot weakly: a module replaced or gone
    // leaves hooks that find no window.

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor1);
    PLATFORM_CONTROL(platform::PictureBox, Color1);
    PLATFORM_CONTROL(platform::Label, lblColor2);
    PLATFORM_CONTROL(platform::PictureBox, Color2);
    PLATFORM_CONTROL(platform::Label, lblIntensity);
    PLATFORM_CONTROL(platform::Slider, slIntensity);
    PLATFORM_CONTROL(platform::Label, lblSpeed);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds to the bank's current entry, fills and shows.
    void fill(BankContext& bank);

    void Color1_Click() { pickInto(Color1, false); }
    void Color2_Click() { pickInto(Color2, true); }
    void myName_KeyPress(int& keyAscii);
    void OK_Click();
    // Hides the window once its entry is gone.
    void dropIfGone() { target_.dropIfGone(*this); }
    void slIntensity_Change();
    void slSpeed_Change();

  private:
    void layoutControls();
    void pickInto(platform::PictureBox& box, bool second);
    // The edited entry, or null (and the window hidden) once it is gone.
    EffectRecord* edited();

    EditedEntry target_;
    bool filling_ = false;
};

}  // namespace kavrel
