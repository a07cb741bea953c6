#include "effects/color/color_effect.h"

namespace kavrel {

void ColorEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
}

}  // namespace kavrel
