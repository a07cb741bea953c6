// A Color Scroll entry's project-file lines and its defaults on a type change.
#include "core/bank_context.h"
#include "core/counted_fields.h"
#include "core/project_fields.h"
#include "effects/color_scroll/color_scroll_effect.h"

namespace kavrel {

void ColorScrollEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    // The colour arrays stay behind the count of 0.
    entry.colorCount = 0;
    entry.speed = 50;
    entry.level = 50;
}

void ColorScrollEffect::choose(BankContext& bank, bool changed) {
    if (!changed) return chooseAgain(bank);
    // A new Color Scroll has no colours yet: the bank keeps its picture.
    bank.stepTimer().setEnabled(false);
    bank.showMessage(kScrollNotConfigured);
}

void ColorScrollEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.whole(entry.colorCount);
    for (int k = 0; k < entry.colorCount; ++k) {
        out.color(elementOr(entry.colors, k));
        out.whole(elementOr(entry.colorValues, k));
    }
    out.whole(entry.beat);
    out.whole(entry.blend);
    out.whole(entry.speed);
    out.whole(entry.direction);
}

bool ColorScrollEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    if (!in.int16(entry.colorCount)) return false;
    if (entry.colorCount < 0) return in.fail("a negative count");
    if (!readCountedPairs(in, entry.colorCount, entry.colors, entry.colorValues,
                          &FieldReader::color, &FieldReader::int32))
        return false;
    return in.int16(entry.beat) && in.int16(entry.blend) && in.int16(entry.speed) &&
           in.int16(entry.direction);
}

}  // namespace kavrel
