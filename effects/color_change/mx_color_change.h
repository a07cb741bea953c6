#pragma once
// The Color Change editor "ColorChange": the entry's name, its colour list
// with a time per colour, the fade mode and fade speed, the speed and beat
// control. Every change goes into the entry at once and the running effect
// follows it live.
#include <cstdint>

#include "effects/common/edited_entry.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
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

class MxColorChange : public platform::Window {
  public:
    MxColorChange(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblList);
    PLATFORM_CONTROL(platform::ListView, ColorList);
    PLATFORM_CONTROL(platform::Button, addColor);
    PLATFORM_CONTROL(platform::Button, removeColor);
    PLATFORM_CONTROL(platform::Button, upColor);
    PLATFORM_CONTROL(platform::Button, downColor);
    PLATFORM_CONTROL(platform::Label, lblFadeMode);
    PLATFORM_CONTROL(platform::ComboBox, cbFadeMode);
    PLATFORM_CONTROL(platform::Label, lblFade);
    PLATFORM_CONTROL(platform::Slider, slFade);
    PLATFORM_CONTROL(platform::Label, lblSpeed);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::Label, lblBeat);
    PLATFORM_CONTROL(platform::CheckBox, beatControl);
    PLATFORM_CONTROL(platform::Button, OK);

    // The edit button: binds the editor to the bank's current entry, fills
    // the controls from it and shows the window.
    void fill(BankContext& bank);

    void OK_Click();
    // Hides the window (and the mixer it opened) once its entry is gone.
    void dropIfGone() { target_.dropIfGone(*this); }
    void updateColorList();

    void addColor_Click();
    void removeColor_Click();
    void upColor_Click() { moveColor(-1); }
    void downColor_Click() { moveColor(+1); }
    void ColorList_AfterCellEdit(const std::string& oldText, const std::string& newText);
    void ColorList_SpinDown() { spin(false); }
    void ColorList_SpinUp() { spin(true); }
    void ColorList_DblClick();
    void ColorList_ItemClick(int row, int button, int column);
    void cbFadeMode_Click();
    void slFade_Change();
    void slSpeed_Change();
    void beatControl_Click();
    void myName_KeyPress(int& keyAscii);

  protected:
    void Form_Load() override;
    void Form_Activate() override { deselectRow(); }
    void Form_Click() override { deselectRow(); }

  private:
    void layoutControls();
    void wireHandlers();
    // The edited entry, or null once it is gone: the window then hides.
    EffectRecord* edited();
    void deselectRow();
    void moveColor(int by);
    void spin(bool up);
    // The step timer's interval from the current colour at the slider's
    // speed; false (and nothing changed) when there is no current colour.
    bool retime(BankContext& bank, EffectRecord& e);
    void restartAt(BankContext& bank, EffectRecord& e);
    bool beatTicked() const { return beatControl.Value() == 1; }

    EditedEntry target_;
    bool filling_ = false;
};

}  // namespace kavrel
