#include "effects/common/editor_window.h"

#include <utility>

#include "core/editor_hooks.h"
#include "core/effect_services.h"
#include "platform/window.h"

namespace kavrel {

void showEditor(EffectServices& services, platform::Window& window) {
    if (platform::Window* main = services.mainWindow()) {
        window.setLeft(main->Left() + main->Width() / 2 - window.Width() / 2);
        window.setTop(main->Top() + main->Height() / 2 - window.Height() / 2);
    }
    window.Show(false);
}

void registerEditor(EffectServices& services, const std::string& name,
                    std::function<platform::Window*()> peek, std::function<void()> ok) {
    EditorHook hook;
    hook.name = name;
    hook.peek = std::move(peek);
    hook.ok = std::move(ok);
    services.editors().add(std::move(hook));
}

// Until the colour mixer lands these answer as a cancelled mixer does.
uint32_t pickEditedColor(EffectServices&, uint32_t edited) {
    return edited;
}

std::optional<uint32_t> pickRowColor(EffectServices&, uint32_t) {
    return std::nullopt;
}

}  // namespace kavrel
