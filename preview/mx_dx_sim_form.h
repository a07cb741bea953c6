#pragma once
// The surface preview's window. Esc closes it back to the set-up dialog,
// "f" shows or hides the cell frame.
#include "platform/windows/window.h"

namespace kavrel {

class Previews;

class MxDxSimForm : public platform::Window {
  public:
    MxDxSimForm(platform::Desktop& desktop, Previews& previews);

  protected:
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_KeyPress(int& keyAscii) override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

  private:
    void closeToDialog();

    Previews& previews_;
};

}  // namespace kavrel
