#pragma once
// The main window: the bank lists A and B and the fade list X with their
// buttons, the effect-type boxes, the fade controls and the crossfader, the
// output and preview switches, the three preview panes, the hidden sampling
// and picture boxes, and the ten timers that drive the frame loop.
#include <cstdint>

#include "core/bank_view.h"
#include "core/timer_control.h"
#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/combo_box.h"
#include "platform/label.h"
#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/slider.h"
#include "platform/text_box.h"
#include "platform/window.h"
#include "platform/winsock.h"

namespace kavrel {

class Kavrel;

class MatrixForm : public platform::Window {
    Kavrel& kavrel_;

  public:
    MatrixForm(platform::Desktop& desktop, Kavrel& kavrel);
    ~MatrixForm() override;

    Kavrel& kavrel() { return kavrel_; }
    Bank& bankA() { return bankA_; }
    Bank& bankB() { return bankB_; }
    Bank& bank(bool b) { return b ? bankB_ : bankA_; }

    // Bank lists and their buttons.
    platform::ListView& efxAList;
    platform::ListView& efxBList;
    platform::ListView& efxXList;
    platform::ComboBox& typeA;
    platform::ComboBox& typeB;
    platform::Button& addA;
    platform::Button& addB;
    platform::Button& addX;
    platform::Button& clearA;
    platform::Button& clearB;
    platform::Button& copyMemA;
    platform::Button& copyMemB;
    platform::Button& downA;
    platform::Button& downB;
    platform::Button& downX;
    platform::Button& editA;
    platform::Button& editB;

    // Fades and the crossfader.
    platform::ComboBox& fadeType;
    platform::TextBox& fadeTimeText;
    platform::TextBox& fadeName;
    platform::PictureBox& MFadeColor;
    platform::Label& FadeColorText;
    platform::Slider& faderM;
    platform::Button& fadeLeft;
    platform::Button& fadeRight;

    // Output and preview switches, and the window's close button.
    platform::CheckBox& dmx_active;
    platform::CheckBox& vovev_active;
    platform::CheckBox& extmxsim_active;
    platform::Button& Closeall;

    // Preview panes, and the hidden boxes the effects draw into.
    platform::PictureBox& paneM;
    platform::PictureBox& paneA;
    platform::PictureBox& paneB;
    platform::PictureBox& miniA;
    platform::PictureBox& miniB;
    platform::PictureBox& imageA;
    platform::PictureBox& imageB;

    // The frame loop's timers.
    platform::Timer& timerA1;
    platform::Timer& timerA2;
    platform::Timer& timerB1;
    platform::Timer& timerB2;
    platform::Timer& timerM;
    platform::Timer& updateDMXTimer;
    platform::Timer& updateVoVevTimer;
    platform::Timer& updateMainTimer;
    platform::Timer& updateATimer;
    platform::Timer& updateBTimer;

    // The TCP client of the external-simulator link.
    platform::Winsock& Winsock1;

    // Handlers.
    void efxAList_Click();
    void efxBList_Click();
    void efxXList_Click();
    void addA_Click();
    void addB_Click();
    void addX_Click();
    void clearA_Click();
    void clearB_Click();
    void copyMemA_Click();
    void copyMemB_Click();
    void downA_Click();
    void downB_Click();
    void downX_Click();
    void editA_Click();
    void editB_Click();

    void fadeType_Click();
    void fadeTimeText_Change();
    void fadeName_Change();
    void faderM_Change();
    void fadeLeft_Click();
    void fadeRight_Click();
    void dmx_active_Click();
    void Closeall_Click();

    void timerA1_Timer();
    void timerA2_Timer();
    void timerB1_Timer();
    void timerB2_Timer();
    void timerM_Timer();
    void updateDMXTimer_Timer();
    void updateVoVevTimer_Timer();
    void updateMainTimer_Timer();
    void updateATimer_Timer();
    void updateBTimer_Timer();

    void beatStepA();
    void beatStepB();

    // Moves the crossfader towards `target` (0 bank A, 1 bank B) in the
    // current fade's time on timerM. A fade runs exactly while timerM runs.
    void startTimedFade(double target);
    void cancelTimedFade() { timerM.setEnabled(false); }
    // Shows mixPos on faderM without the slider's handling recomputing it.
    void showFaderPosition();

    // Sizes the preview panes' cells for the grid and clears them black, so
    // that their next redraw paints every light that is not black.
    void layoutPanes();
    // The side of one light in a pane, in pixels.
    int paneCellSize(const platform::PictureBox& pane) const;

    // The current fade record, or null while curFade is no valid index.
    FadeRecord* currentFade();

  protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

  private:
    void layoutControls();
    void wireHandlers();
    void startTimers();
    void stopAllTimers();
    void fillTypeBoxes();
    void sizeGridAndBoxes();
    void prepareLists();
    void setFadeDefaults();

    Bank bankA_;
    Bank bankB_;

    // The timed fade: where it goes and how many steps are left.
    double fadeTarget_ = 0.0;
    int32_t fadeStepsLeft_ = 0;
    // Set while code moves faderM to show mixPos.
    bool faderFromCode_ = false;
};

}  // namespace kavrel
