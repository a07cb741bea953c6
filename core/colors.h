#pragma once
// Colour components of 0x00BBGGRR colours that may name a system colour.
#include <cstdint>

namespace kavrel {

inline constexpr uint32_t kRedMask = 255;
inline constexpr uint32_t kGreenMask = 65280;
inline constexpr uint32_t kBlueMask = 16711680;

// The red, green or blue byte for kRedMask, kGreenMask or kBlueMask; 0 for any
// other mask. A colour with any of its top eight bits set is translated from
// the system colours first.
uint8_t getColorPart(uint32_t color, uint32_t mask);

}  // namespace kavrel
