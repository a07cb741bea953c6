#include "core/editor_hooks.h"

#include "platform/window.h"

namespace kavrel {

void EditorHooks::confirmVisible() {
    // Walks a copy: an editor's OK may create another window, which registers
    // its hook while the walk runs.
    const std::vector<EditorHook> hooks = hooks_;
    for (const EditorHook& h : hooks) {
        if (!h.confirmedByEdit || !h.ok || !h.peek) continue;
        platform::Window* w = h.peek();
        if (w != nullptr && w->Visible()) h.ok();
    }
}

void EditorHooks::hideForCloseall() {
    for (const EditorHook& h : hooks_) {
        if (!h.hiddenByCloseall || !h.peek) continue;
        platform::Window* w = h.peek();
        if (w != nullptr && w->Visible()) w->Hide();
    }
}

void EditorHooks::entriesChanged() {
    const std::vector<std::function<void()>> watches = watches_;
    for (const auto& w : watches) w();
}

}  // namespace kavrel
