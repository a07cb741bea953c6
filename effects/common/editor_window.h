#pragma once
// What every effect editor window does alike: showing itself centred over
// the main window, registering with the edit buttons and Closeall, and
// picking colours in the colour mixer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/editor_hooks.h"

namespace platform {
class Window;
}

namespace kavrel {

class EffectServices;

// Centres the window over the main window (when loaded) and shows it modeless.
void showEditor(EffectServices& services, platform::Window& window);

// Registers an editor: `peek` gives the window if it exists, `ok` is its
// public OK (the edit buttons confirm a visible editor with it; empty for an
// editor whose OK is its own), and `watch` runs whenever a bank's current
// entry changed. Closeall hides it unless `hiddenByCloseall` is false.
// The editor stays registered while the returned registrations are kept.
struct EditorRegistration {
    EditorHooks::Registration hook;
    EditorHooks::Registration watch;
};
[[nodiscard]] EditorRegistration registerEditor(EffectServices& services, const std::string& name,
                                                std::function<platform::Window*()> peek,
                                                std::function<void()> ok,
                                                std::function<void()> watch,
                                                bool hiddenByCloseall = true);

// What the edit buttons and Closeall do with an editor.
enum class EditorOk { ConfirmedByEdit, OwnOnly };
enum class EditorCloseall { Hides, Keeps };

// Registers the editor of a slot; Form has dropIfGone() (hides it once its
// entry is gone) and, unless its OK is its own, a public OK_Click().
template <class Form, class Slot>
[[nodiscard]] EditorRegistration registerEditorSlot(
    EffectServices& services, const std::string& name, Slot& slot,
    EditorOk okMode = EditorOk::ConfirmedByEdit, EditorCloseall closeall = EditorCloseall::Hides) {
    std::function<void()> ok;
    if constexpr (requires(Form & f) { f.OK_Click(); }) {
        if (okMode == EditorOk::ConfirmedByEdit)
            ok = [&slot] {
                if (Form* w = slot.peek()) w->OK_Click();
            };
    }
    return registerEditor(
        services, name, [&slot]() -> platform::Window* { return slot.peek(); }, std::move(ok),
        [&slot] {
            if (Form* w = slot.peek()) w->dropIfGone();
        },
        closeall == EditorCloseall::Hides);
}

// A colour button: the mixer edits `edited`; Cancel gives it back unchanged.
uint32_t pickEditedColor(EffectServices& services, uint32_t edited);
// Adding or recolouring a list row: the mixer starts at `start`; nullopt when
// it was cancelled (the row is then left as it is, or not added).
std::optional<uint32_t> pickRowColor(EffectServices& services, uint32_t start);

}  // namespace kavrel
