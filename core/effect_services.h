#pragma once
// What the plug-in instance offers its effects and bank lists: the shared
// state, mixing, the message window, the desktop (windows, loop, random
// numbers, locale), the effect types and the editors. One per instance.
#include <string>

#include "core/bank_id.h"
#include "core/shared_state.h"

namespace platform {
class Desktop;
class Window;
}  // namespace platform

namespace kavrel {

class BankContext;
class EffectRegistry;
class MxColorMixer;
class EditorHooks;

class EffectServices {
  public:
    virtual ~EffectServices() = default;

    virtual SharedState& state() = 0;
    virtual platform::Desktop& desktop() = 0;
    virtual EffectRegistry& effects() = 0;
    virtual EditorHooks& editors() = 0;

    // Recomputes the whole output, or one light of it, by the fader position
    // and the current fade type.
    virtual void mixMatrix(double fader) = 0;
    virtual void mixMatrixStep(double fader, int x, int y) = 0;
    // Shows the text in the message window, modal until its OK.
    virtual void showMessage(const std::string& text) = 0;
    // The bank's controls while the main window is loaded, else null; never
    // loads the window.
    virtual BankContext* bank(BankId id) = 0;
    // The main window while it is loaded, else null (dialogs centre over it).
    virtual platform::Window* mainWindow() = 0;
    // The colour mixer, made and loaded on first use (core/color_mixer.h has
    // the pickers' hand-over).
    virtual MxColorMixer& colorMixer() = 0;
};

}  // namespace kavrel
