#include "effects/common/editor_window.h"

#include <utility>

#include "core/color_mixer.h"
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
                    std::function<platform::Window*()> peek, std::function<void()> ok,
                    std::function<void()> watch) {
    EditorHook hook;
    hook.name = name;
    hook.peek = std::move(peek);
    hook.ok = std::move(ok);
    services.editors().add(std::move(hook));
    services.editors().addEntryWatch(std::move(watch));
}

namespace {

// Runs a pick and keeps its colour only when OK closed the mixer; Cancel,
// the close box and Closeall hiding the mixer give nullopt.
template <typename Pick>
std::optional<uint32_t> acceptedPick(EffectServices& services, Pick pick) {
    MxColorMixer& mixer = services.colorMixer();
    struct Watch {
        std::function<void()>& handler;
        std::function<void()> original;
        ~Watch() { handler = std::move(original); }
    } watch{mixer.BOK.onClick, mixer.BOK.onClick};
    bool accepted = false;
    mixer.BOK.onClick = [&accepted, &watch] {
        accepted = true;
        if (watch.original) watch.original();
    };
    const uint32_t color = pick();
    if (!accepted) return std::nullopt;
    return color;
}

}  // namespace

uint32_t pickEditedColor(EffectServices& services, uint32_t edited) {
    return acceptedPick(services, [&] { return pickColor(services, edited); }).value_or(edited);
}

std::optional<uint32_t> pickRowColor(EffectServices& services, uint32_t start) {
    return acceptedPick(services, [&] { return pickNewColor(services, start); });
}

}  // namespace kavrel
