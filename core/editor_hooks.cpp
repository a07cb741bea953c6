#include "core/editor_hooks.h"

#include <algorithm>

#include "platform/windows/window.h"

namespace kavrel {

EditorHooks::Registration EditorHooks::add(EditorHook hook) {
    const uint64_t id = nextId_++;
    hooks_.push_back(Hook{id, std::move(hook)});
    return Registration(this, id);
}

EditorHooks::Registration EditorHooks::addEntryWatch(std::function<void()> watch) {
    const uint64_t id = nextId_++;
    watches_.push_back(Watch{id, std::move(watch)});
    return Registration(this, id);
}

void EditorHooks::remove(uint64_t id) {
    std::erase_if(hooks_, [id](const Hook& h) { return h.id == id; });
    std::erase_if(watches_, [id](const Watch& w) { return w.id == id; });
}

bool EditorHooks::registered(uint64_t id) const {
    return std::any_of(hooks_.begin(), hooks_.end(), [id](const Hook& h) { return h.id == id; }) ||
           std::any_of(watches_.begin(), watches_.end(),
                       [id](const Watch& w) { return w.id == id; });
}

void EditorHooks::confirmVisible() {
    // Walks a copy: an editor's OK may create another window, which registers
    // its hook while the walk runs, or unregister one; a hook gone meanwhile
    // is passed by.
    const std::vector<Hook> hooks = hooks_;
    for (const Hook& h : hooks) {
        if (!h.hook.confirmedByEdit || !h.hook.ok || !h.hook.peek || !registered(h.id)) continue;
        platform::Window* w = h.hook.peek();
        if (w != nullptr && w->Visible()) h.hook.ok();
    }
}

void EditorHooks::hideForCloseall() {
    const std::vector<Hook> hooks = hooks_;
    for (const Hook& h : hooks) {
        if (!h.hook.hiddenByCloseall || !h.hook.peek || !registered(h.id)) continue;
        platform::Window* w = h.hook.peek();
        if (w != nullptr && w->Visible()) w->Hide();
    }
}

void EditorHooks::entriesChanged() {
    const std::vector<Watch> watches = watches_;
    for (const Watch& w : watches)
        if (registered(w.id)) w.run();
}

}  // namespace kavrel
