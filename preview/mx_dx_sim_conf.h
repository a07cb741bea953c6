#pragma once
// The preview set-up dialog "VoVevConf": plain or surface preview, and for
// the surface preview the adapter, the resolution, full screen, a visible
// cell frame and its colour. Start runs the chosen preview, Cancel ends it.
#include <cstdint>
#include <vector>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/option_button.h"
#include "platform/windows/window.h"

namespace kavrel {

class Previews;

class MxDxSimConf : public platform::Window {
  public:
    MxDxSimConf(platform::Desktop& desktop, Previews& previews);

    PLATFORM_CONTROL(platform::Button, frColor);
    PLATFORM_CONTROL(platform::ComboBox, Combo1);
    PLATFORM_CONTROL(platform::Button, Command2);
    PLATFORM_CONTROL(platform::Button, Command1);
    PLATFORM_CONTROL(platform::ComboBox, Combo2);
    PLATFORM_CONTROL(platform::CheckBox, full);
    PLATFORM_CONTROL(platform::CheckBox, rand);
    PLATFORM_CONTROL(platform::Label, Label3);
    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::Label, Label2);
    PLATFORM_CONTROL_ARRAY(platform::OptionButton, DDMode, 2);

    void Combo1_Click();
    void DDMode_Click(int index);
    void full_Click();
    void rand_Click();
    void frColor_Click();
    void Command1_Click();
    void Command2_Click();

    // The mode number (1-based, in the adapter's list) of each Combo2 entry.
    const std::vector<int32_t>& modeNumbers() const { return modeNumbers_; }

  protected:
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyPress(int& keyAscii) override;

  private:
    void layoutControls();
    void wireHandlers();

    Previews& previews_;
    std::vector<int32_t> modeNumbers_;
};

}  // namespace kavrel
