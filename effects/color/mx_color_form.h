#pragma once
// The Color editor "Color": the entry's name and its one colour, written
// into the entry and shown on the bank at once.
#include "effects/common/edited_entry.h"
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

class MxColorForm : public platform::Window {
  public:
    MxColorForm(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor);
    PLATFORM_CONTROL(platform::PictureBox, Color);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds to the bank's current entry, fills and shows.
    void fill(BankContext& bank);

    void Color_Click();
    void myName_KeyPress(int& keyAscii);
    void OK_Click();
    // Hides the window (and the mixer it opened) once its entry is gone.
    void dropIfGone() { target_.dropIfGone(*this); }

  private:
    EditedEntry target_;
};

}  // namespace kavrel
