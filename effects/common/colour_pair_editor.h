#pragma once
// What the editors of the two-colour generated effects (Fire, Fluid) share:
// the name box, the main and secondary colour buttons, the intensity and
// speed sliders and OK, each written into the edited entry at once. A
// subclass lays the window out, adds its own controls and says what a colour
// change redraws and how fast the speed steps the bank.
#include <cstdint>

#include "core/effect_record.h"
#include "effects/common/edited_entry.h"
#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;

class ColourPairEditor : public platform::Window {
  public:
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

  protected:
    // `speedFollowsDrag`: the speed is taken while its slider is dragged too.
    ColourPairEditor(platform::Desktop& desktop, const char* name, EffectServices& services,
                     EffectType type, bool speedFollowsDrag);

    // Lays out the name and colour rows at the top of the window.
    void layoutNameAndColours();
    // The step timer's interval at a speed.
    virtual int32_t speedInterval(int16_t speed) const = 0;
    // After a colour button changed a colour of the entry.
    virtual void colourChanged(BankContext& /*bank*/) {}
    // Fills the subclass's own controls; handlers store nothing meanwhile.
    virtual void fillMore(const EffectRecord& /*entry*/) {}
    // The edited entry, or null (and the window hidden) once it is gone.
    EffectRecord* edited();

    EditedEntry target_;
    bool filling_ = false;

  private:
    void pickInto(platform::PictureBox& box, bool second);
};

}  // namespace kavrel
