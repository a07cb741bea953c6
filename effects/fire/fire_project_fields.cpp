// A Fire entry's project-file lines and its defaults on a type change.
#include "core/defaults.h"
#include "core/project_fields.h"
#include "effects/fire/fire_effect.h"

namespace kavrel {

void FireEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    entry.color1 = platform::rgb(255, 255, 0);
    entry.color2 = kColorRed;
    entry.speed = 80;
    entry.level = 30;
}

void FireEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.color(entry.color1);
    out.color(entry.color2);
    out.whole(entry.speed);
    out.whole(entry.level);
}

bool FireEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    return in.color(entry.color1) && in.color(entry.color2) && in.int16(entry.speed) &&
           in.int16(entry.level);
}

}  // namespace kavrel
