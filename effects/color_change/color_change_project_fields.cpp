// A Color Change entry's project-file lines and its defaults on a type change.
#include "core/counted_fields.h"
#include "core/project_fields.h"
#include "effects/color_change/color_change_effect.h"

namespace kavrel {

void ColorChangeEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    // The colour arrays stay behind the count of 0.
    entry.colorCount = 0;
    entry.speed = 50;
    entry.level = 50;
}

void ColorChangeEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.whole(entry.colorCount);
    for (int k = 0; k < entry.colorCount; ++k) {
        out.color(elementOr(entry.colors, k));
        out.number(elementOr(entry.durations, k));
    }
    out.whole(entry.fadeMode);
    out.whole(entry.beat);
    out.whole(entry.speed);
    out.whole(entry.level);
    out.whole(entry.direction);
}

bool ColorChangeEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    if (!in.int16(entry.colorCount)) return false;
    if (entry.colorCount < 0) return in.fail("a negative count");
    if (!readCountedPairs(in, entry.colorCount, entry.colors, entry.durations, &FieldReader::color,
                          &FieldReader::number))
        return false;
    return in.int16(entry.fadeMode) && in.int16(entry.beat) && in.int16(entry.speed) &&
           in.int16(entry.level) && in.int16(entry.direction);
}

}  // namespace kavrel
