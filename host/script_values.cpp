#include "host/script_values.h"

#include <charconv>
#include <cmath>

#include "platform/convert.h"

namespace kavrel {

int64_t wholeNumber(std::string_view word, int64_t min, int64_t max, const char* what) {
    int64_t v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    if (word.empty() || ec != std::errc() || ptr != end || v < min || v > max)
        throw ScriptError(std::string(what) + " must be a whole number from " +
                          std::to_string(min) + " to " + std::to_string(max) + ", not " +
                          quotedText(word));
    return v;
}

double decimalNumber(std::string_view word, const char* what) {
    auto v = platform::parseNumber(word);
    if (!v || !std::isfinite(*v))
        throw ScriptError(std::string(what) + " must be a number, not " + quotedText(word));
    return *v;
}

bool valuesMatch(std::string_view found, std::string_view expected) {
    if (found == expected) return true;
    auto a = platform::parseNumber(found);
    auto b = platform::parseNumber(expected);
    return a && b && *a == *b;
}

std::string quotedText(std::string_view text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

void checkWordCount(const std::vector<std::string>& words, size_t min, size_t max,
                    const char* usage) {
    const size_t n = words.empty() ? 0 : words.size() - 1;
    if (n < min || n > max) throw ScriptError(std::string("bad syntax, expected: ") + usage);
}

platform::TargetName checkTarget(std::string_view word) {
    auto t = platform::UserDriver::parseTarget(word);
    if (!t)
        throw ScriptError("bad target " + quotedText(word) +
                          " (expected Window, Window.control or Window.control(index))");
    return *t;
}

}  // namespace kavrel
