#pragma once
// One BeamShow frame into a bank frame. Pure: neither marks the bank nor
// mixes.
#include "core/effect_record.h"
#include "core/shared_state.h"
#include "effects/beam_show/beam_show_beams.h"
#include "platform/runtime/random.h"

namespace kavrel {

inline constexpr int kBeams = 4;

// The background colour, then beams 0..3 one over the other: a line or a
// point placed at random, or a horizontal or vertical beam that moves one
// row or column (bouncing at the edges) before it is drawn. The generator is
// reseeded from `secondsSinceMidnight` before each beam. A beam whose type
// or colour is missing is off.
void renderBeamShow(BankState& bank, const EffectRecord& e, int cols, int rows,
                    platform::Random& random, double secondsSinceMidnight);

}  // namespace kavrel
