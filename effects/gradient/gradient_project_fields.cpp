// A Gradient entry's project-file lines and its defaults on a type change.
#include "core/defaults.h"
#include "core/project_fields.h"
#include "effects/gradient/gradient_effect.h"

namespace kavrel {

namespace {
constexpr uint32_t kYellow = platform::rgb(255, 255, 0);
constexpr int16_t kDefaultDirection = 7;
}  // namespace

void GradientEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    entry.color1 = kColorRed;
    entry.color2 = kYellow;
    entry.direction = kDefaultDirection;
}

void GradientEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.color(entry.color1);
    out.color(entry.color2);
    out.whole(entry.direction);
}

bool GradientEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    return in.color(entry.color1) && in.color(entry.color2) && in.int16(entry.direction);
}

}  // namespace kavrel
