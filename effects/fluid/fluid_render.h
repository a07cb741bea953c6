#pragma once
// One Fluid step on a bank frame. Pure: neither marks the bank nor mixes.
#include "core/effect_record.h"
#include "core/frame.h"
#include "platform/runtime/random.h"

namespace kavrel {

// Moves the picture one light in the entry's direction (1 up, 3 left,
// 5 down, 7 right) and feeds a new line of random blends of the entry's two
// colours at the opposite edge, after reseeding from `secondsSinceMidnight`.
// Any other direction moves and writes nothing but still draws its numbers.
void renderFluid(Frame& frame, const EffectRecord& e, int cols, int rows, platform::Random& random,
                 double secondsSinceMidnight);

}  // namespace kavrel
