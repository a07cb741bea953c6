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

void EditorHooks::hideStale() {
    const std::vector<std::function<void()>> checks = staleChecks_;
    for (const auto& check : checks)
        if (check) check();
}

}  // namespace kavrel
