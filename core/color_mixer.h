#pragma once
// The colour mixer "ColorMixer": the one dialog in which any colour of the
// system is chosen. Three channel sliders (0..255), a ramp beside each that
// shows what that channel can give with the other two as they stand, and a
// result swatch. Modal; it hands its result back through the shared
// `mixerOldColor` (what the caller edits) and `mixerColor` (the result).
#include <cstdint>

#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/slider.h"
#include "platform/windows/window.h"

namespace kavrel {

class EffectServices;
struct SharedState;

class MxColorMixer : public platform::Window {
  public:
    MxColorMixer(platform::Desktop& desktop, SharedState& state);

    PLATFORM_CONTROL(platform::Label, lblRed);
    PLATFORM_CONTROL(platform::Label, lblGreen);
    PLATFORM_CONTROL(platform::Label, lblBlue);
    PLATFORM_CONTROL(platform::Label, lblResult);
    PLATFORM_CONTROL(platform::Slider, Sred);
    PLATFORM_CONTROL(platform::Slider, Sgreen);
    PLATFORM_CONTROL(platform::Slider, Sblue);
    PLATFORM_CONTROL(platform::PictureBox, Pred);
    PLATFORM_CONTROL(platform::PictureBox, Pgreen);
    PLATFORM_CONTROL(platform::PictureBox, Pblue);
    PLATFORM_CONTROL(platform::PictureBox, Presult);
    PLATFORM_CONTROL(platform::Button, BOK);
    PLATFORM_CONTROL(platform::Button, Bcancel);

    // Redraws the three ramps with their markers and the result swatch from
    // the sliders. Pickers call it after presetting the sliders.
    void updateColorPictures();

    // The last press on any ramp, in ramp pixels.
    int16_t pickX = 0;
    int16_t pickY = 0;

    void BOK_Click();
    void Bcancel_Click();

    // Whether OK closed the mixer at its last use (Cancel, the close box or
    // Closeall hiding it count as Cancel).
    bool closedByOk() const { return closedByOk_; }
    // Starts a use: nothing answered yet.
    void beginUse() { closedByOk_ = false; }

  protected:
    void Form_Activate() override { updateColorPictures(); }
    // The close box answers as Cancel does; the mixer stays for its next use.
    void Form_QueryUnload(int& cancel, int unloadMode) override;

  private:
    void layoutControls();
    void wireHandlers();
    void rampMouseDown(float x, float y);
    void rampClick(platform::PictureBox& ramp, platform::Slider& slider, uint32_t mask);

    SharedState& state_;
    bool closedByOk_ = false;
};

// Hands `edited` to the mixer (mixerOldColor), presets the sliders to its
// bytes, centres the mixer over the main window and waits for OK or Cancel;
// gives mixerColor. A mixer hidden any other way answers as Cancel; the
// mixer's closedByOk() tells which it was.
uint32_t pickColor(EffectServices& services, uint32_t edited);
// For a picker that adds a colour: presets the sliders to `start` but leaves
// mixerOldColor as it is, so Cancel gives the colour of the previous use.
uint32_t pickNewColor(EffectServices& services, uint32_t start);

}  // namespace kavrel
