#include "effects/fluid/fluid_effect.h"

namespace kavrel {

void FluidEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
    to.direction = from.direction;
}

}  // namespace kavrel
