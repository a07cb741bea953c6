#pragma once
// The plug-in's fixed colours and defaults, one home each.
#include <cstdint>

#include "platform/drawing/surface.h"

namespace kavrel {

inline constexpr double kDefaultFadeSeconds = 3.0;

inline constexpr uint32_t kColorBlack = platform::rgb(0, 0, 0);
inline constexpr uint32_t kColorWhite = platform::rgb(255, 255, 255);
inline constexpr uint32_t kColorRed = platform::rgb(255, 0, 0);
inline constexpr uint32_t kColorGreen = platform::rgb(0, 255, 0);
inline constexpr uint32_t kColorBlue = platform::rgb(0, 0, 255);
inline constexpr uint32_t kActiveButtonColor = platform::rgb(255, 240, 150);
inline constexpr uint32_t kButtonColor = platform::rgb(220, 220, 220);

// A new entry is red in bank A and blue in bank B; so is the Color default.
inline constexpr uint32_t kBankAColor = kColorRed;
inline constexpr uint32_t kBankBColor = kColorBlue;
// A new fade is red.
inline constexpr uint32_t kNewFadeColor = kColorRed;

}  // namespace kavrel
