#pragma once
// The plain preview window: the output frame as filled boxes on black.
// Space toggles a caption-less maximised view, Esc closes it back to the
// set-up dialog.
#include "platform/windows/window.h"

namespace kavrel {

class Previews;

class VoVevForm : public platform::Window {
  public:
    VoVevForm(platform::Desktop& desktop, Previews& previews);

    // Sets or clears the caption bits of the window style; true when the
    // style was written and reads back as written.
    bool ToggleCaption(bool value);

    // The full redraw: geometry for the drawing area, black, every light.
    void Form_Resize() override;

  protected:
    void Form_KeyPress(int& keyAscii) override;

  private:
    Previews& previews_;
};

}  // namespace kavrel
