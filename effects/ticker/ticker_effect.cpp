#include "effects/ticker/ticker_effect.h"

namespace kavrel {

void TickerEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
    to.text = from.text;
    to.font = from.font;
    to.direction = from.direction;
    to.backward = from.backward;
    to.mirror = from.mirror;
    to.beat = from.beat;
    to.letterMode = from.letterMode;
}

}  // namespace kavrel
