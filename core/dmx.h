#pragma once
// The DMX output: which channels of the output frame changed since last sent.
#include <cstdint>
#include <utility>
#include <vector>

#include "core/shared_state.h"

namespace kavrel {

// (address, value) for every channel of a configured light whose address is
// 1..1024 and whose value differs from the one last sent, in ascending address
// order; records the values as sent. When several lights share an address the
// last light in row order (top row first, left to right) gives its value.
using DmxChanges = std::vector<std::pair<int32_t, uint8_t>>;
DmxChanges collectDmxChanges(SharedState& state);

// The same into `changes` (emptied first), which keeps its capacity: a caller
// that holds one buffer allocates nothing per frame once it has grown.
void collectDmxChanges(SharedState& state, DmxChanges& changes);

}  // namespace kavrel
