#pragma once
// The Color Scroll editor "ColorScroll": the entry's name, its colour list
// with a width per colour, the blend switch, the direction, the speed and
// beat control. Every change goes into the entry at once and the running
// scroll follows it at its next step.
#include <cstdint>
#include <string>

#include "effects/common/edited_entry.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/controls/list_view.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;

inline constexpr int kScrollDirections = 13;

class MxColorScroll : public platform::Window {
  public:
    MxColorScroll(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::ListView, ColorList);
    PLATFORM_CONTROL(platform::Button, addColor);
    PLATFORM_CONTROL(platform::Button, removeColor);
    PLATFORM_CONTROL(platform::Button, upColor);
    PLATFORM_CONTROL(platform::Button, downColor);
    PLATFORM_CONTROL(platform::CheckBox, fadeMode);
    PLATFORM_CONTROL(platform::CheckBox, beatControl);
    PLATFORM_CONTROL(platform::Label, Label3);
    PLATFORM_CONTROL_ARRAY(platform::Button, richtung, kScrollDirections);
    PLATFORM_CONTROL(platform::Label, Label2);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds the editor to the bank's current entry, fills
    // the controls from it and shows the window.
    void fill(BankContext& bank);

    void OK_Click();
    // Hides the window (and the mixer it opened) once its entry is gone.
    void dropIfGone() { target_.dropIfGone(*this); }
    // The list into the entry: colours and widths, the strip rebuilt, the
    // position kept within it, the step timer started unless under beats.
    void updateColorList2();

    void addColor_Click();
    void removeColor_Click();
    void upColor_Click() { moveColor(-1); }
    void downColor_Click() { moveColor(+1); }
    void ColorList_DblClick();
    void ColorList_ItemClick(int row, int button, int column);
    void ColorList_AfterCellEdit(const std::string& oldText, const std::string& newText);
    void ColorList_SpinDown() { spin(false); }
    void ColorList_SpinUp() { spin(true); }
    void fadeMode_Click();
    void beatControl_Click();
    void richtung_Click(int index);
    void slSpeed_Change();
    void myName_KeyPress(int& keyAscii);

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Click() override { deselectRow(); }

  private:
    void layoutControls();
    void wireHandlers();
    // The edited entry, or null (and the window hidden) once it is gone.
    EffectRecord* edited();
    void deselectRow();
    void showDirection(int direction);
    void moveColor(int by);
    void spin(bool up);
    bool beatTicked() const { return beatControl.Value() == 1; }

    EditedEntry target_;
    bool filling_ = false;
};

}  // namespace kavrel
