#pragma once
// The main window: the bank lists A and B and the fade list X with their
// buttons, the effect-type boxes, the fade controls and the crossfader, the
// output and preview switches, the three preview panes, the hidden sampling
// and picture boxes, and the ten timers that drive the frame loop.
#include <cstdint>

#include "core/bank_context.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/controls/list_view.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"
#include "platform/sockets/winsock.h"
#include "preview/previews.h"

namespace kavrel {

class Kavrel;
class MxCommonDialog;

class MatrixForm : public platform::Window {
    Kavrel& kavrel_;

  public:
    MatrixForm(platform::Desktop& desktop, Kavrel& kavrel,
               platform::FormSlot<MxCommonDialog>& commonDialog);
    ~MatrixForm() override;

    Kavrel& kavrel() { return kavrel_; }
    BankContext& bankA() { return bankA_; }
    BankContext& bankB() { return bankB_; }
    BankContext& bank(BankId id) { return id == BankId::B ? bankB_ : bankA_; }

    // Bank lists and their buttons.
    PLATFORM_CONTROL(platform::ListView, efxAList);
    PLATFORM_CONTROL(platform::ListView, efxBList);
    PLATFORM_CONTROL(platform::ListView, efxXList);
    PLATFORM_CONTROL(platform::ComboBox, typeA);
    PLATFORM_CONTROL(platform::ComboBox, typeB);
    PLATFORM_CONTROL(platform::Button, addA);
    PLATFORM_CONTROL(platform::Button, addB);
    PLATFORM_CONTROL(platform::Button, addX);
    PLATFORM_CONTROL(platform::Button, clearA);
    PLATFORM_CONTROL(platform::Button, clearB);
    PLATFORM_CONTROL(platform::Button, copyMemA);
    PLATFORM_CONTROL(platform::Button, copyMemB);
    PLATFORM_CONTROL(platform::Button, downA);
    PLATFORM_CONTROL(platform::Button, downB);
    PLATFORM_CONTROL(platform::Button, downX);
    PLATFORM_CONTROL(platform::Button, editA);
    PLATFORM_CONTROL(platform::Button, editB);
    PLATFORM_CONTROL(platform::Button, upA);
    PLATFORM_CONTROL(platform::Button, upB);
    PLATFORM_CONTROL(platform::Button, upX);
    PLATFORM_CONTROL(platform::Button, removeA);
    PLATFORM_CONTROL(platform::Button, removeB);
    PLATFORM_CONTROL(platform::Button, removeX);
    PLATFORM_CONTROL(platform::Button, pasteMemA);
    PLATFORM_CONTROL(platform::Button, pasteMemB);

    // Project files.
    PLATFORM_CONTROL(platform::Button, mxsave);
    PLATFORM_CONTROL(platform::Button, myload);

    // Fades and the crossfader.
    PLATFORM_CONTROL(platform::ComboBox, fadeType);
    PLATFORM_CONTROL(platform::TextBox, fadeTimeText);
    PLATFORM_CONTROL(platform::TextBox, fadeName);
    PLATFORM_CONTROL(platform::PictureBox, MFadeColor);
    PLATFORM_CONTROL(platform::Label, FadeColorText);
    PLATFORM_CONTROL(platform::Slider, faderM);
    PLATFORM_CONTROL(platform::Button, fadeLeft);
    PLATFORM_CONTROL(platform::Button, fadeRight);

    // Output and preview switches, and the window's close button.
    PLATFORM_CONTROL(platform::CheckBox, dmx_active);
    PLATFORM_CONTROL(platform::CheckBox, vovev_active);
    PLATFORM_CONTROL(platform::CheckBox, extmxsim_active);
    PLATFORM_CONTROL(platform::Button, Closeall);

    // Preview panes, and the hidden boxes the effects draw into.
    PLATFORM_CONTROL(platform::PictureBox, paneM);
    PLATFORM_CONTROL(platform::PictureBox, paneA);
    PLATFORM_CONTROL(platform::PictureBox, paneB);
    PLATFORM_CONTROL(platform::PictureBox, miniA);
    PLATFORM_CONTROL(platform::PictureBox, miniB);
    PLATFORM_CONTROL(platform::PictureBox, imageA);
    PLATFORM_CONTROL(platform::PictureBox, imageB);

    // The frame loop's timers.
    PLATFORM_TIMER(timerA1);
    PLATFORM_TIMER(timerA2);
    PLATFORM_TIMER(timerB1);
    PLATFORM_TIMER(timerB2);
    PLATFORM_TIMER(timerM);
    PLATFORM_TIMER(updateDMXTimer);
    PLATFORM_TIMER(updateVoVevTimer);
    PLATFORM_TIMER(updateMainTimer);
    PLATFORM_TIMER(updateATimer);
    PLATFORM_TIMER(updateBTimer);

    // The TCP client of the external-simulator link.
    PLATFORM_CONTROL(platform::Winsock, Winsock1);

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
    void typeA_Click();
    void typeB_Click();
    void upA_Click();
    void upB_Click();
    void upX_Click();
    void removeA_Click();
    void removeB_Click();
    void removeX_Click();
    void pasteMemA_Click();
    void pasteMemB_Click();
    void mxsave_Click();
    void myload_Click();
    void MFadeColor_Click();

    void fadeType_Click();
    void fadeTimeText_Change();
    void fadeName_Change();
    void faderM_Change();
    void fadeLeft_Click();
    void fadeRight_Click();
    void dmx_active_Click();
    void vovev_active_Click();
    void extmxsim_active_Click();
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

    // The previews and the simulator link.
    Previews& previews() { return previews_; }

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

    platform::FormSlot<MxCommonDialog>& commonDialog_;
    BankContext bankA_;
    BankContext bankB_;
    Previews previews_;

    // The milliseconds from the end of step k - 1 to the end of step k.
    int32_t fadeStepInterval(int32_t k) const;

    // The timed fade: where it started and goes, its steps and its time.
    double fadeFrom_ = 0.0;
    double fadeTarget_ = 0.0;
    int32_t fadeSteps_ = 0;
    int32_t fadeStep_ = 0;
    int64_t fadeTotalMs_ = 0;
    // Set while code moves faderM to show mixPos.
    bool faderFromCode_ = false;
};

}  // namespace kavrel
