#include "effects/color_change/color_change_effect.h"

#include "core/record_copy.h"

namespace kavrel {

void ColorChangeEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.colorCount = from.colorCount;
    to.colors = copyCounted(from.colors, from.colorCount);
    to.durations = copyCounted(from.durations, from.colorCount);
    to.beat = from.beat;
    to.speed = from.speed;
    to.level = from.level;
    to.fadeMode = from.fadeMode;
}

}  // namespace kavrel
