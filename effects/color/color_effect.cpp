#include "effects/color/color_effect.h"

#include "core/effect_services.h"
#include "effects/color/mx_color_form.h"
#include "effects/common/editor_window.h"

namespace kavrel {

ColorEffect::ColorEffect(EffectServices& services)
    : editor_(std::make_unique<platform::FormSlot<MxColorForm>>(services.desktop(), "MxColorForm",
                                                                services)) {
    registerEditorSlot<MxColorForm>(services, "MxColorForm", *editor_);
}

ColorEffect::~ColorEffect() = default;

void ColorEffect::edit(BankContext& bank) {
    (*editor_)().fill(bank);
}

void ColorEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
}

}  // namespace kavrel
