#pragma once
// The Gradient editor "Gradient": the entry's name, its two colours and the
// direction of the gradient, written into the entry and drawn at once.
#include "effects/common/edited_entry.h"
#include "effects/gradient/direction_pictures.h"
#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;

class MxGradientForm : public platform::Window {
  public:
    MxGradientForm(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor1);
    PLATFORM_CONTROL(platform::PictureBox, Color1);
    PLATFORM_CONTROL(platform::Label, lblColor2);
    PLATFORM_CONTROL(platform::PictureBox, Color2);
    PLATFORM_CONTROL_ARRAY(platform::Button, richtung, kDirectionButtons);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds to the bank's current entry, fills and shows.
    void fill(BankContext& bank);

    void Color1_Click() { pickInto(Color1, false); }
    void Color2_Click() { pickInto(Color2, true); }
    void richtung_Click(int index);
    void myName_KeyPress(int& keyAscii);
    void OK_Click();
    // Hides the window (and the mixer it opened) once its entry is gone.
    void dropIfGone() { target_.dropIfGone(*this); }

  private:
    void layoutControls();
    void pickInto(platform::PictureBox& box, bool second);
    // The chosen button shows its down picture, every other its disabled one.
    void showDirection(int direction);

    EditedEntry target_;
};

}  // namespace kavrel
