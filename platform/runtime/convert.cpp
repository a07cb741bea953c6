#include "platform/runtime/convert.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string nonFiniteText(double v) {
    if (std::isnan(v)) return "NaN";
    return v < 0 ? "-Infinity" : "Infinity";
}

// The pieces of a number text that matched the grammar.
struct NumberParts {
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    bool expNegative = false;
    std::string_view expDigits;
};

std::optional<NumberParts> splitNumber(std::string_view text) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    std::string_view s = text.substr(b, e - b);

    NumberParts p;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) p.negative = s[i++] == '-';
    size_t start = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    p.intDigits = s.substr(start, i - start);
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        start = ++i;
        while (i < s.size() && isDigit(s[i])) ++i;
        p.fracDigits = s.substr(start, i - start);
    }
    if (p.intDigits.empty() && p.fracDigits.empty()) return std::nullopt;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) p.expNegative = s[i++] == '-';
        start = i;
        while (i < s.size() && isDigit(s[i])) ++i;
        p.expDigits = s.substr(start, i - start);
        if (p.expDigits.empty()) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    return p;
}

// The decimal exponent of the leading nonzero digit plus one (0.5 -> 0,
// 5 -> 1, 50 -> 2), saturated far beyond the double range. Only called for a
// nonzero mantissa; tells overflow from underflow.
int64_t decimalMagnitude(const NumberParts& p) {
    constexpr int64_t kCap = int64_t{1} << 40;
    int64_t exp = 0;
    for (char c : p.expDigits) {
        exp = exp * 10 + (c - '0');
        if (exp > kCap) {
            exp = kCap;
            break;
        }
    }
    if (p.expNegative) exp = -exp;
    int64_t lead = 0;
    size_t firstNonZero = p.intDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos) {
        lead = static_cast<int64_t>(p.intDigits.size() - firstNonZero);
    } else {
        size_t f = p.fracDigits.find_first_not_of('0');
        lead = -static_cast<int64_t>(f == std::string_view::npos ? 0 : f);
    }
    if (lead > kCap) lead = kCap;
    if (lead < -kCap) lead = -kCap;
    return lead + exp;
}

bool allZero(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

template <typename T>
std::optional<T> roundedInRange(double v) {
    if (std::isnan(v)) return std::nullopt;
    double r = std::nearbyint(v);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(r);
}

}  // namespace

std::string numberText(double v, const Locale& locale) {
    if (!std::isfinite(v)) return nonFiniteText(v);
    if (v == 0) return "0";
    std::array<char, 64> buf{};
    auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 15);
    std::string s(buf.data(), res.ptr);
    for (char& c : s) {
        if (c == 'e') c = 'E';
        if (c == '.') c = locale.decimal;
    }
    return s;
}

std::string numberText(int64_t v) {
    return std::to_string(v);
}

std::string boolText(bool v, const Locale& locale) {
    return v ? locale.trueWord : locale.falseWord;
}

bool textIsTrue(std::string_view text) {
    return text == "True" || text == "Wahr";
}

// No digit grouping: parseNumber takes ',' as a decimal separator, so a
// grouped "1,234.00" could never be read back.
std::string formatStandard(double v, const Locale& locale) {
    if (!std::isfinite(v)) return nonFiniteText(v);
    // Rounds the 15 significant digits numberText shows, so a value shown as
    // 0.125 formats as 0.13: the decimal the user sees is rounded, not the
    // binary fraction behind it.
    std::array<char, 64> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                             std::chars_format::scientific, 14);
    const std::string_view sci(buf.data(), static_cast<size_t>(res.ptr - buf.data()));
    const size_t e = sci.find('e');
    std::string mantissa;
    for (char c : sci.substr(0, e))
        if (c != '.') mantissa += c;
    size_t expAt = e + 1;
    if (sci[expAt] == '+') ++expAt;
    int exp = 0;
    std::from_chars(sci.data() + expAt, sci.data() + sci.size(), exp);

    // The digits before and after the decimal point.
    std::string intPart = "0";
    std::string frac;
    if (exp >= 0) {
        const auto n = static_cast<size_t>(exp) + 1;
        intPart = mantissa.substr(0, n);
        if (n > mantissa.size()) intPart.append(n - mantissa.size(), '0');
        if (n < mantissa.size()) frac = mantissa.substr(n);
    } else {
        frac = std::string(static_cast<size_t>(-exp - 1), '0') + mantissa;
    }

    std::string digits(intPart);
    for (size_t k = 0; k < 2; ++k) digits += k < frac.size() ? frac[k] : '0';
    if (frac.size() > 2 && frac[2] >= '5') {
        size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
        if (k == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[k - 1];
        }
    }
    std::string out;
    // A value that rounds to zero shows no sign.
    if (v < 0 && !allZero(digits)) out += '-';
    out.append(digits, 0, digits.size() - 2);
    out += locale.decimal;
    out.append(digits, digits.size() - 2, 2);
    return out;
}

std::optional<double> parseNumber(std::string_view text) {
    auto parts = splitNumber(text);
    if (!parts) return std::nullopt;
    // Rebuilt with '.' for from_chars, which knows no locale.
    std::string plain(parts->intDigits.empty() ? "0" : parts->intDigits);
    if (!parts->fracDigits.empty()) {
        plain += '.';
        plain += parts->fracDigits;
    }
    if (!parts->expDigits.empty()) {
        plain += parts->expNegative ? "e-" : "e";
        plain += parts->expDigits;
    }
    double value = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (decimalMagnitude(*parts) > 0) return std::nullopt;
        value = 0;  // too small for a double
    } else if (res.ec != std::errc{} || res.ptr != plain.data() + plain.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return parts->negative ? -value : value;
}

bool isNumeric(std::string_view text) {
    return parseNumber(text).has_value();
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

std::optional<int16_t> toInt16(double v) {
    return roundedInRange<int16_t>(v);
}
std::optional<int32_t> toInt32(double v) {
    return roundedInRange<int32_t>(v);
}
std::optional<uint8_t> toByte(double v) {
    return roundedInRange<uint8_t>(v);
}

std::optional<int16_t> textToInt16(std::string_view text) {
    auto v = parseNumber(text);
    return v ? toInt16(*v) : std::nullopt;
}

std::optional<int32_t> textToInt32(std::string_view text) {
    auto v = parseNumber(text);
    return v ? toInt32(*v) : std::nullopt;
}

int64_t intFloor(double v) {
    if (std::isnan(v)) return 0;
    double f = std::floor(v);
    // 2^63 is exact as a double; -2^63 is the one negative bound that fits.
    constexpr double kTwo63 = 9223372036854775808.0;
    if (f >= kTwo63) return std::numeric_limits<int64_t>::max();
    if (f < -kTwo63) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(f);
}

int64_t divTrunc(int64_t a, int64_t b) {
    if (b == 0) return 0;
    if (a == std::numeric_limits<int64_t>::min() && b == -1) {
        return std::numeric_limits<int64_t>::max();
    }
    return a / b;
}

}  // namespace platform
