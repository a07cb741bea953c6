#pragma once
// What the plug-in instance needs of its main window, which lives in a
// layer above it: whether it is loaded, its banks, the ColorFade colour and
// the banks' beat dispatchers. The main window's owner implements it.
#include <cstdint>

#include "core/bank_id.h"

namespace platform {
class Window;
}

namespace kavrel {

class BankContext;

class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;
    // The main window while it is loaded, else null; never loads it.
    virtual platform::Window* loadedWindow() = 0;
    // A bank's controls while the main window is loaded, else null.
    virtual BankContext* bank(BankId id) = 0;
    // The ColorFade middle colour the fade controls show.
    virtual uint32_t fadeColor() = 0;
    // The bank's beat dispatcher (beatStepA / beatStepB).
    virtual void beatStep(BankId id) = 0;
};

}  // namespace kavrel
