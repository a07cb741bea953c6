// A Ticker entry's project-file lines and its defaults on a type change.
#include "core/defaults.h"
#include "core/project_fields.h"
#include "effects/ticker/ticker_effect.h"

namespace kavrel {

void TickerEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    // The level stays as it was.
    entry.color1 = kColorWhite;
    entry.color2 = kColorBlack;
    entry.font = "5-point";
    entry.text = "Kavrel - ";
    entry.direction = 3;
    entry.speed = 75;
    entry.beat = 0;
    entry.backward = 0;
    entry.mirror = 0;
    entry.letterMode = 0;
}

void TickerEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.color(entry.color1);
    out.color(entry.color2);
    out.whole(entry.speed);
    out.whole(entry.level);
    out.text(entry.text);
    out.text(entry.font);
    out.whole(entry.direction);
    out.whole(entry.backward);
    out.whole(entry.mirror);
    out.whole(entry.beat);
    out.whole(entry.letterMode);
}

bool TickerEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    return in.color(entry.color1) && in.color(entry.color2) && in.int16(entry.speed) &&
           in.int16(entry.level) && in.text(entry.text) && in.text(entry.font) &&
           in.int16(entry.direction) && in.int16(entry.backward) && in.int16(entry.mirror) &&
           in.int16(entry.beat) && in.int16(entry.letterMode);
}

}  // namespace kavrel
