#include "core/colors.h"

#include "platform/drawing/system_colors.h"

namespace kavrel {

uint8_t getColorPart(uint32_t color, uint32_t mask) {
    const uint32_t rgb = (color & 0xFF000000u) != 0 ? platform::translateColor(color) : color;
    switch (mask) {
        case kRedMask:
            return static_cast<uint8_t>(rgb & 0xFFu);
        case kGreenMask:
            return static_cast<uint8_t>((rgb >> 8) & 0xFFu);
        case kBlueMask:
            return static_cast<uint8_t>((rgb >> 16) & 0xFFu);
        default:
            return 0;
    }
}

}  // namespace kavrel
