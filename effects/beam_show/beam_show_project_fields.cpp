// A BeamShow entry's project-file lines, its defaults on a type change and
// the fields copying and pasting take.
#include "core/counted_fields.h"
#include "core/defaults.h"
#include "core/project_fields.h"
#include "effects/beam_show/beam_show_beams.h"
#include "effects/beam_show/beam_show_effect.h"

namespace kavrel {

namespace {
constexpr int kSavedBeams = 4;
}  // namespace

void BeamShowEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    entry.colors.assign(kDefaultBeamColors.begin(), kDefaultBeamColors.end());
    entry.colorValues.assign(kDefaultBeamKinds.begin(), kDefaultBeamKinds.end());
    entry.color1 = kColorBlack;
    entry.speed = 50;
    entry.level = 100;
    entry.beat = 0;
}

void BeamShowEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    for (int k = 0; k < kSavedBeams; ++k) {
        out.color(elementOr(entry.colors, k, kDefaultBeamColors[static_cast<size_t>(k)]));
        out.whole(elementOr(entry.colorValues, k, kDefaultBeamKinds[static_cast<size_t>(k)]));
    }
    out.color(entry.color1);
    out.whole(entry.speed);
    out.whole(entry.level);
    out.whole(entry.beat);
}

bool BeamShowEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    entry.colors.assign(kBeamSlots, 0u);
    entry.colorValues.assign(kBeamSlots, 0);
    for (size_t k = 0; k < kSavedBeams; ++k)
        if (!(in.color(entry.colors[k]) && in.int32(entry.colorValues[k]))) return false;
    return in.color(entry.color1) && in.int16(entry.speed) && in.int16(entry.level) &&
           in.int16(entry.beat);
}

void BeamShowEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    // Fresh arrays of five, the missing beams of a short source taking the defaults.
    to.colors.clear();
    to.colorValues.clear();
    for (size_t k = 0; k < kBeamSlots; ++k) {
        to.colors.push_back(elementOr(from.colors, static_cast<int64_t>(k), kDefaultBeamColors[k]));
        to.colorValues.push_back(
            elementOr(from.colorValues, static_cast<int64_t>(k), kDefaultBeamKinds[k]));
    }
    to.color1 = from.color1;
    to.speed = from.speed;
    to.level = from.level;
    to.beat = from.beat;
}

}  // namespace kavrel
