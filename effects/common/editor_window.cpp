#include "effects/common/editor_window.h"

#include <utility>

#include "core/color_mixer.h"
#include "core/editor_hooks.h"
#include "core/effect_services.h"
#include "platform/windows/window.h"

namespace kavrel {

void showEditor(EffectServices& services, platform::Window& window) {
    if (platform::Window* main = services.mainWindow()) {
        window.setLeft(main->Left() + main->Width() / 2 - window.Width() / 2);
        window.setTop(main->Top() + main->Height() / 2 - window.Height() / 2);
    }
    window.Show(false);
}

EditorRegistration registerEditor(EffectServices& services, const std::string& name,
                                  std::function<platform::Window*()> peek, std::function<void()> ok,
                                  std::function<void()> watch, bool hiddenByCloseall) {
    EditorHook hook;
    hook.name = name;
    hook.peek = std::move(peek);
    hook.confirmedByEdit = static_cast<bool>(ok);
    hook.ok = std::move(ok);
    hook.hiddenByCloseall = hiddenByCloseall;
    return EditorRegistration{services.editors().add(std::move(hook)),
                              services.editors().addEntryWatch(std::move(watch))};
}

uint32_t pickEditedColor(EffectServices& services, uint32_t edited) {
    // Cancel, the close box and Closeall all hand the edited colour back.
    return pickColor(services, edited);
}

std::optional<uint32_t> pickRowColor(EffectServices& services, uint32_t start) {
    const uint32_t color = pickNewColor(services, start);
    if (!services.colorMixer().closedByOk()) return std::nullopt;
    return color;
}

}  // namespace kavrel
