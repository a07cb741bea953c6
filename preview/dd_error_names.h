#pragma once
// The name of a display-API result code, for the preview's error box.
#include <cstdint>
#include <string>

namespace kavrel {

// "ALL_OK" for 0, the error's name for a known code, else "Unknown " and
// the code in upper-case hexadecimal (a negative code as its 32-bit pattern).
std::string ddErrorName(int32_t result);

}  // namespace kavrel
