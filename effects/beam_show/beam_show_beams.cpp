#include "effects/beam_show/beam_show_beams.h"

namespace kavrel {

void growBeams(EffectRecord& entry) {
    for (size_t k = entry.colors.size(); k < kBeamSlots; ++k)
        entry.colors.push_back(kDefaultBeamColors[k]);
    for (size_t k = entry.colorValues.size(); k < kBeamSlots; ++k)
        entry.colorValues.push_back(kDefaultBeamKinds[k]);
}

}  // namespace kavrel
