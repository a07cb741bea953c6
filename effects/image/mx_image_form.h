#pragma once
// The Image editor "Images": stretch, tile, the nine scroll directions, speed,
// offset and beat control of an Image entry, edited live, and the button that
// opens its picture list.
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class ImageEditing;
struct EffectRecord;

class MxImageForm : public platform::Window {
  public:
    MxImageForm(platform::Desktop& desktop, ImageEditing& editing);

    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Button, BImage);
    PLATFORM_CONTROL_ARRAY(platform::Button, richtung, 9);
    PLATFORM_CONTROL(platform::Label, Label2);
    PLATFORM_CONTROL(platform::Slider, Slider1);
    PLATFORM_CONTROL(platform::Label, Label3);
    PLATFORM_CONTROL(platform::Label, Label4);
    PLATFORM_CONTROL(platform::CheckBox, PStretch);
    PLATFORM_CONTROL(platform::Label, Label5);
    PLATFORM_CONTROL(platform::CheckBox, PTile);
    PLATFORM_CONTROL(platform::Slider, slOffset);
    PLATFORM_CONTROL(platform::CheckBox, beatControl);
    PLATFORM_CONTROL(platform::Button, OK);

    // Fills the controls from the bank's running entry (the edit button).
    void fill(BankContext& bank);

    void OK_Click();
    void richtung_Click(int index);
    void PStretch_Click();
    void PTile_Click();
    void Slider1_Scroll();
    void slOffset_Scroll();
    void beatControl_Click();
    void BImage_Click();
    void myName_KeyPress(int& keyAscii);

  private:
    void layout();
    void wire();
    // The radio look: the chosen button pressed, the others inactive.
    void showDirection(int index);

    ImageEditing& editing_;
    // Set while fill() sets controls: their handlers then store back only
    // what the entry already holds.
    bool filling_ = false;
};

}  // namespace kavrel
