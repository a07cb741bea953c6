#pragma once
// The BeamShow editor "BeamShow": four beams (on, colour, type), beat
// control, the background, the blanking value (shown, never used), the
// speed and the name. Its OK is its own: the edit buttons do not confirm it
// and Closeall leaves it shown.
#include <memory>

#include "effects/common/edited_entry.h"
#include "effects/common/editor_window.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;

class MxLaser : public platform::Window {
  public:
    MxLaser(platform::Desktop& desktop, EffectServices& services);

    // The hooks hold the window's slot weakly: a module replaced or gone
    // leaves hooks that find no window.

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor);
    PLATFORM_CONTROL(platform::Label, lblType);
    PLATFORM_CONTROL_ARRAY(platform::CheckBox, chLaser, 4);
    PLATFORM_CONTROL_ARRAY(platform::Button, LaserColor, 4);
    PLATFORM_CONTROL_ARRAY(platform::ComboBox, LaserType, 4);
    PLATFORM_CONTROL(platform::CheckBox, Beat);
    PLATFORM_CONTROL(platform::Label, lblBack);
    PLATFORM_CONTROL(platform::Button, Back);
    PLATFORM_CONTROL(platform::Label, lblBlank);
    PLATFORM_CONTROL(platform::Slider, slBlank);
    PLATFORM_CONTROL(platform::Label, lblSpeed);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds to the bank's current entry, fills and shows.
    void fill(BankContext& bank);
    void dropIfGone() { target_.dropIfGone(*this); }

    void chLaser_Click(int index);
    void LaserType_Click(int index);
    void LaserColor_Click(int index);
    void Back_Click();
    void slBlank_Change();
    void slSpeed_Change();
    void Beat_Click();

  private:
    void layoutControls();
    void OK_Click();
    // The edited entry with its beam arrays grown to five, or null (and the
    // window hidden) once it is gone.
    EffectRecord* edited();

    EditedEntry target_;
    bool filling_ = false;
};

}  // namespace kavrel
