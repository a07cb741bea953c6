// A Color entry's project-file lines and its defaults on a type change.
#include "core/defaults.h"
#include "core/project_fields.h"
#include "core/shared_state.h"
#include "effects/color/color_effect.h"

namespace kavrel {

void ColorEffect::setDefaults(EffectRecord& entry, const BankState& bank, int, int) const {
    entry.color1 = bank.letter == 'B' ? kBankBColor : kBankAColor;
}

void ColorEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.color(entry.color1);
}

bool ColorEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    return in.color(entry.color1);
}

}  // namespace kavrel
