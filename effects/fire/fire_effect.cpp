#include "effects/fire/fire_effect.h"

namespace kavrel {

void FireEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
}

}  // namespace kavrel
