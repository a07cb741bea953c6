#pragma once
// A colour component worked out in double becomes a byte here, and only here:
// rounded half to even, then kept within 0..255.
#include <cfloat>
#include <cstdint>

namespace kavrel {

// The rounding below relies on every double operation being done in double.
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not use wider registers");

// v (|v| < 2^51) rounded to the nearest whole number, ties to even: adding
// 1.5 * 2^52 leaves no fraction bits, and the addition itself rounds so in the
// default rounding mode. Equal to std::nearbyint there, but inlined.
inline double roundHalfEven(double v) {
    constexpr double kShift = 6755399441055744.0;
    return (v + kShift) - kShift;
}

// Half to even, saturating; NaN gives 0. For any double.
inline uint8_t roundToByte(double v) {
    const double low = 0.0 < v ? v : 0.0;  // NaN and negatives -> 0
    const double cut = low < 255.0 ? low : 255.0;
    return static_cast<uint8_t>(roundHalfEven(cut));
}

// roundToByte for a v known to lie within +-2^31, NaN excluded, as the mixer's
// formulas on bytes give: the cut is done on the whole number, with no
// floating-point branch, so that loops over whole frames vectorise.
inline uint8_t roundBoundedToByte(double v) {
    const auto whole = static_cast<int32_t>(roundHalfEven(v));
    return static_cast<uint8_t>(whole < 0 ? 0 : whole > 255 ? 255 : whole);
}

}  // namespace kavrel
