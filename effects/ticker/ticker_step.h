#pragma once
// One step of a running ticker on the bank frame: scrolling moves the frame
// one light in the direction of travel and feeds the entering edge from the
// strip; letter mode copies the next letter box. Neither marks nor mixes.
#include "core/shared_state.h"
#include "effects/ticker/ticker_strip.h"

namespace kavrel {

// Reads only what the strip holds and writes only lights x < cols, y < rows
// of the frame; an empty strip feeds nothing.
void stepTickerFrame(BankState& bank, const TickerShape& shape, const EffectRecord& entry, int cols,
                     int rows);

}  // namespace kavrel
