#pragma once
// Conversions between numbers, truth values and their texts, and the rounding
// rules of whole-number conversions (half to even, floor, truncating division).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/locale.h"

namespace platform {

// A double as plain text: at most 15 significant digits, exponent form below
// 1E-4 and from 1E15 ("1E-05", "1E+15"), the locale's decimal separator, no
// digit grouping, no trailing zeros. Negative zero is "0". NaN and infinities
// (which the program never stores) give "NaN", "Infinity", "-Infinity".
std::string numberText(double v, const Locale& locale);
// A whole number as plain decimal text.
std::string numberText(int64_t v);

// The locale's word for the value ("True"/"False", "Wahr"/"Falsch").
std::string boolText(bool v, const Locale& locale);
// True only for exactly "True" or "Wahr".
bool textIsTrue(std::string_view text);

// Two decimals, rounded half away from zero on the 15 significant digits that
// numberText shows (2.675 gives "2.68"), the locale's decimal separator, no
// grouping.
std::string formatStandard(double v, const Locale& locale);

// A finite number from text: blanks around it, an optional sign, digits with
// at most one decimal separator ('.' or ',', in any locale), an optional
// exponent. Anything else, or a value beyond the double range, gives nullopt;
// a value too small for a double reads as zero.
std::optional<double> parseNumber(std::string_view text);
// Whether parseNumber accepts the text.
bool isNumeric(std::string_view text);

// Rounds half to even (the current rounding mode, which the program leaves at
// its default).
double roundHalfEven(double v);
// Whole numbers rounded half to even; nullopt for NaN or out of range.
std::optional<int16_t> toInt16(double v);
std::optional<int32_t> toInt32(double v);
std::optional<uint8_t> toByte(double v);
// Parses, then rounds half to even; nullopt when not a number or out of range.
std::optional<int16_t> textToInt16(std::string_view text);
std::optional<int32_t> textToInt32(std::string_view text);

// The largest whole number not above v, clamped to the int64 range; NaN gives 0.
int64_t intFloor(double v);
// a / b truncated toward zero. Division by zero gives 0 and the one overflowing
// quotient (INT64_MIN / -1) gives INT64_MAX, so callers never trap.
int64_t divTrunc(int64_t a, int64_t b);

}  // namespace platform
