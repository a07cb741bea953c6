#include "effects/color_scroll/color_scroll_effect.h"

#include "core/record_copy.h"

namespace kavrel {

void ColorScrollEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.colorCount = from.colorCount;
    to.colors = copyCounted(from.colors, from.colorCount);
    to.colorValues = copyCounted(from.colorValues, from.colorCount);
    to.beat = from.beat;
    to.speed = from.speed;
    to.direction = from.direction;
    to.blend = from.blend;
}

}  // namespace kavrel
