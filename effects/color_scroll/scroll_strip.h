#pragma once
// A Color Scroll entry's colours unrolled into the bank's strip, and one
// scroll step of the bank frame. Pure: neither marks the bank nor mixes.
#include <cstdint>

#include "core/effect_record.h"
#include "core/shared_state.h"

namespace kavrel {

// The most strip positions a strip holds; longer lists are cut here.
inline constexpr int32_t kMaxStripLength = 32767;

// Unrolls the entry's colours into the bank's strip (four bytes a position,
// positions 0..length, the last spare), each colour repeated by its width
// and, with blending, ramped in from the colour before it. With fewer than
// two colours: false, and the strip stays as it was.
bool buildStrip(BankState& bank, const EffectRecord& e);

// One step in the entry's direction: shifts the frame one light, feeds the
// strip colour at the bank's position into the gap, then advances the
// position (and the diagonal front).
void scrollStep(BankState& bank, const EffectRecord& e, int cols, int rows);

}  // namespace kavrel
