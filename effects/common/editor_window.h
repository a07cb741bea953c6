#pragma once
// What every effect editor window does alike: showing itself centred over
// the main window, registering with the edit buttons and Closeall, and
// picking colours in the colour mixer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {
class Window;
}

namespace kavrel {

class EffectServices;

// Centres the window over the main window (when loaded) and shows it modeless.
void showEditor(EffectServices& services, platform::Window& window);

// Registers an editor: `peek` gives the window if it exists, `ok` is its
// public OK (the edit buttons confirm a visible editor with it), Closeall
// hides it, and `watch` runs whenever a bank's current entry changed.
void registerEditor(EffectServices& services, const std::string& name,
                    std::function<platform::Window*()> peek, std::function<void()> ok,
                    std::function<void()> watch);

// Registers the editor of a slot; Form has a public OK_Click() and
// dropIfGone() (hides it once its entry is gone).
template <class Form, class Slot>
void registerEditorSlot(EffectServices& services, const std::string& name, Slot& slot) {
    registerEditor(
        services, name, [&slot]() -> platform::Window* { return slot.peek(); },
        [&slot] {
            if (Form* w = slot.peek()) w->OK_Click();
        },
        [&slot] {
            if (Form* w = slot.peek()) w->dropIfGone();
        });
}

// A colour button: the mixer edits `edited`; Cancel gives it back unchanged.
uint32_t pickEditedColor(EffectServices& services, uint32_t edited);
// Adding or recolouring a list row: the mixer starts at `start`; nullopt when
// it was cancelled (the row is then left as it is, or not added).
std::optional<uint32_t> pickRowColor(EffectServices& services, uint32_t start);

}  // namespace kavrel
