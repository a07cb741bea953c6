#pragma once
// A fixed table of system colours, looked up by index; unknown indexes give black.
#include <cstdint>

#include "platform/drawing/surface.h"

namespace platform {

// The colour of system-colour index `index` (0x00BBGGRR); 0 when unknown.
Color sysColor(uint32_t index);
// A colour with any of its top eight bits set names a system colour (its low
// 24 bits are the index); others are returned as they are.
Color translateColor(uint32_t color);

}  // namespace platform
