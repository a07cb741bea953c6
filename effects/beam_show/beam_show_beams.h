#pragma once
// The beams of a BeamShow entry: colours and kinds 0 to 4 (beam 4 is no
// beam; kind -1 is off, 0 line, 1 point, 2 horizontal, 3 vertical).
#include <array>
#include <cstdint>

#include "core/effect_record.h"
#include "platform/drawing/surface.h"

namespace kavrel {

inline constexpr int kBeamSlots = 5;
inline constexpr std::array<uint32_t, kBeamSlots> kDefaultBeamColors{
    platform::rgb(0, 255, 0), platform::rgb(255, 0, 0), platform::rgb(0, 0, 255),
    platform::rgb(255, 255, 0), platform::rgb(0, 0, 0)};
inline constexpr std::array<int32_t, kBeamSlots> kDefaultBeamKinds{0, -1, -1, -1, 0};

// Grows `colors` and `colorValues` to five elements: existing elements are
// kept, added ones take the defaults above.
void growBeams(EffectRecord& entry);

}  // namespace kavrel
