#pragma once
// Reading a Color Change entry's colour list with every index checked: an
// index equal to the count reads the spare element (black, 0 s), one outside
// the list is brought back to the first colour before it is used.
#include <cstdint>

#include "core/effect_record.h"
#include "core/shared_state.h"

namespace kavrel {

inline uint32_t colourOf(const EffectRecord& e, int64_t i) {
    return i >= 0 && static_cast<uint64_t>(i) < e.colors.size() ? e.colors[static_cast<size_t>(i)]
                                                                : 0u;
}
inline double timeOf(const EffectRecord& e, int64_t i) {
    return i >= 0 && static_cast<uint64_t>(i) < e.durations.size()
               ? e.durations[static_cast<size_t>(i)]
               : 0.0;
}

// The bank's colour index, reset to 0 first when it lies outside 0..count.
inline int16_t checkedColourIndex(BankState& bank, const EffectRecord& e) {
    if (bank.colIdx < 0 || bank.colIdx > e.colorCount) bank.colIdx = 0;
    return bank.colIdx;
}

// The index after i: the next colour, or the first after the last.
inline int16_t nextColourIndex(int16_t i, int16_t count) {
    return i < count - 1 ? static_cast<int16_t>(i + 1) : int16_t{0};
}

}  // namespace kavrel
