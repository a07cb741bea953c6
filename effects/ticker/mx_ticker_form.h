#pragma once
// The Ticker editor "MxTickerForm": edits one Ticker entry live. Most changes
// rebuild the bank's ticker at once; the speed retimes it; Beat hands it to
// the beats. It stays with the entry it was filled from and hides, writing
// nothing more, once that entry is no longer its bank's running Ticker entry.
#include <cstdint>

#include "core/bank_id.h"
#include "core/effect_record.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;
class TickerEffect;

class MxTickerForm : public platform::Window {
  public:
    MxTickerForm(platform::Desktop& desktop, EffectServices& services, TickerEffect& ticker);

    PLATFORM_CONTROL(platform::Label, lblName);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Label, lblColor1);
    PLATFORM_CONTROL(platform::PictureBox, Color1);
    PLATFORM_CONTROL(platform::Label, lblColor2);
    PLATFORM_CONTROL(platform::PictureBox, Color2);
    PLATFORM_CONTROL(platform::Label, lblText);
    PLATFORM_CONTROL(platform::TextBox, myTicker);
    PLATFORM_CONTROL(platform::Label, lblSpeed);
    PLATFORM_CONTROL(platform::Slider, slSpeed);
    PLATFORM_CONTROL(platform::Label, lblOffset);
    PLATFORM_CONTROL(platform::Slider, slOffset);
    PLATFORM_CONTROL(platform::Label, lblFont);
    PLATFORM_CONTROL(platform::ComboBox, myFont);
    PLATFORM_CONTROL(platform::Button, myFontBox);
    PLATFORM_CONTROL(platform::CheckBox, Beat);
    PLATFORM_CONTROL(platform::Label, lblDirection);
    PLATFORM_CONTROL(platform::CheckBox, Letter);
    // Buttons 1 (up), 3 (left), 5 (down) and 7 (right); the others are hidden.
    PLATFORM_CONTROL_ARRAY(platform::Button, richtung, 8);
    PLATFORM_CONTROL(platform::CheckBox, Backward);
    PLATFORM_CONTROL(platform::CheckBox, Mirror);
    PLATFORM_CONTROL(platform::Button, OK);
    PLATFORM_CONTROL(platform::CommonDialog, CDFont);

    // The edit button: binds the editor to the bank's running entry, fills
    // the controls from it without writing anything back, and shows it.
    void fillFrom(BankContext& bank);
    // Hides the editor when its entry is no longer its bank's running Ticker entry.
    void dropIfStale();

    void OK_Click();
    void Backward_Click();
    void Mirror_Click();
    void slOffset_Change();
    void myTicker_Change();
    void Color1_Click();
    void Color2_Click();
    void slSpeed_Change();
    void myFont_Click();
    void myFontBox_Click();
    void richtung_Click(int index);
    void Letter_Click();
    void Beat_Click();
    void myName_KeyPress(int& keyAscii);

  protected:
    void Form_Load() override;

  private:
    void layoutControls();
    void wireHandlers();
    // The bound entry and its bank while it is still the bank's running
    // Ticker entry; otherwise the editor hides and gives null.
    EffectRecord* boundEntry(BankContext*& bank);
    void rebuild(BankContext& bank);
    // A check box's tick into a flag of the entry, then the rebuild.
    void storeFlag(int16_t EffectRecord::*field, const platform::CheckBox& box);
    void markDirection(int index);
    void pickColor(platform::PictureBox& swatch, bool text);

    EffectServices& services_;
    TickerEffect& ticker_;
    BankId bankId_ = BankId::A;
    int16_t record_ = -1;
    bool quiet_ = false;  // handlers do nothing while code fills the controls
};

}  // namespace kavrel
