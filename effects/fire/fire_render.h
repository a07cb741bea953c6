#pragma once
// One Fire frame into a bank frame. Pure: neither marks the bank nor mixes.
#include <cstdint>

#include "core/effect_record.h"
#include "core/frame.h"
#include "platform/runtime/random.h"

namespace kavrel {

// The flame's top row for a level on `rows` rows; the rows below it are the
// flame body. Negative from level 150 on (every row is body).
int64_t fireTopRow(int64_t level, int rows);

// Level 0 or less: every light black, no random numbers. Otherwise the
// generator is reseeded from `secondsSinceMidnight` and one light in three,
// from a random start, gets a new blend of the entry's two colours.
void renderFire(Frame& frame, const EffectRecord& e, int cols, int rows, platform::Random& random,
                double secondsSinceMidnight);

}  // namespace kavrel
