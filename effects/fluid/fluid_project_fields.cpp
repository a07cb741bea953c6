// A Fluid entry's project-file lines and its defaults on a type change.
#include "core/defaults.h"
#include "core/project_fields.h"
#include "effects/fluid/fluid_effect.h"

namespace kavrel {

void FluidEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    entry.color1 = kColorBlue;
    entry.color2 = kColorWhite;
    entry.direction = 5;
    entry.speed = 80;
    entry.level = 40;
}

void FluidEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.color(entry.color1);
    out.color(entry.color2);
    out.whole(entry.speed);
    out.whole(entry.level);
    out.pair(entry.direction, entry.beat);
}

bool FluidEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    // Older files have no beat part on the direction line.
    return in.color(entry.color1) && in.color(entry.color2) && in.int16(entry.speed) &&
           in.int16(entry.level) && in.pairOptional(entry.direction, entry.beat);
}

}  // namespace kavrel
