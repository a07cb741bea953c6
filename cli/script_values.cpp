#include "cli/script_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>

#include "platform/runtime/convert.h"
#include "platform/text/hidden_characters.h"
#include "platform/text/utf8.h"

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

namespace {
// Words longer than this are shown by their start and their length.
constexpr size_t kMaxQuotedBytes = 80;
constexpr size_t kQuotedStartBytes = 60;

constexpr char kHex[] = "0123456789abcdef";

void appendHex(std::string& out, unsigned char u) {
    out += "\\x";
    out += kHex[u >> 4];
    out += kHex[u & 15];
}

// "\u{202e}": the code point in hexadecimal, as few digits as it takes.
void appendCodePoint(std::string& out, char32_t cp) {
    int shift = 20;
    while (shift > 0 && (cp >> shift) == 0) shift -= 4;
    out += "\\u{";
    for (; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 15];
    out += '}';
}

// How a text is escaped: in quotes (quotes and backslashes escaped, a tab as
// \t), and whether no-break spaces are escaped too.
struct Escaping {
    bool quoted = false;
    bool noBreakSpaces = false;
};

// Appends `text` with what could steer a terminal or hide in it escaped: C0
// controls as \n, \r or \xHH (a tab kept unless quoted, then \t), DEL, the C1
// controls U+0080..U+009F byte by byte, every byte that is no valid UTF-8 (a
// lone 0x9B is a control to an 8-bit terminal), and format characters
// (bidirectional controls, zero-width characters) as \u{202e}; no-break
// spaces too when asked. In quoted text quotes and backslashes get a
// backslash too.
void appendEscaped(std::string& out, std::string_view text, Escaping how) {
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            const platform::Utf8Sequence seq = platform::utf8SequenceAt(text, i);
            if (seq.length == 0 || seq.cp <= 0x9F) {
                const size_t n = std::max<size_t>(seq.length, 1);
                for (size_t k = 0; k < n; ++k)
                    appendHex(out, static_cast<unsigned char>(text[i + k]));
                i += n;
                continue;
            }
            if (platform::isFormatCharacter(seq.cp) ||
                (how.noBreakSpaces && platform::isNoBreakSpace(seq.cp)))
                appendCodePoint(out, seq.cp);
            else
                out.append(text.substr(i, seq.length));
            i += seq.length;
            continue;
        }
        ++i;
        if (how.quoted && (c == '"' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += how.quoted ? "\\t" : "\t";
        } else if (u < 0x20 || u == 0x7f) {
            appendHex(out, u);
        } else {
            out += c;
        }
    }
}

// The length of a start of `text` of at most `max` bytes that does not end
// inside a UTF-8 sequence.
size_t cutPoint(std::string_view text, size_t max) {
    if (text.size() <= max) return text.size();
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return n;
}

bool validName(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

// Digits of an index of an indexed property; at most nine, so any index fits
// the controls' 32-bit rows and columns.
bool validIndex(std::string_view s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// "Name" or "Name(i)", "Name(i,k)", ...: whole numbers, comma-separated,
// nothing else between the parentheses.
bool validPropertyName(std::string_view s) {
    const size_t open = s.find('(');
    if (open == std::string_view::npos) return validName(s);
    if (!validName(s.substr(0, open)) || s.back() != ')') return false;
    std::string_view rest = s.substr(open + 1, s.size() - open - 2);
    for (;;) {
        const size_t comma = rest.find(',');
        if (!validIndex(rest.substr(0, comma))) return false;
        if (comma == std::string_view::npos) return true;
        rest.remove_prefix(comma + 1);
    }
}

int gridSide(std::string_view digits) {
    int v = 0;
    const char* end = digits.data() + digits.size();
    auto [ptr, ec] = std::from_chars(digits.data(), end, v);
    if (digits.empty() || ec != std::errc() || ptr != end || v < 1 || v > kMaxGrid) return 0;
    return v;
}
}  // namespace

std::string quotedText(std::string_view text) {
    const bool cut = text.size() > kMaxQuotedBytes;
    const std::string_view shown = cut ? text.substr(0, cutPoint(text, kQuotedStartBytes)) : text;
    std::string q = "\"";
    appendEscaped(q, shown, {.quoted = true, .noBreakSpaces = true});
    q += cut ? "...\"" : "\"";
    if (cut) q += " (" + std::to_string(text.size()) + " bytes)";
    return q;
}

namespace {
std::string shownText(std::string_view text, size_t max, Escaping how) {
    const bool cut = text.size() > max;
    std::string out;
    appendEscaped(out, cut ? text.substr(0, cutPoint(text, max)) : text, how);
    if (cut) out += "...";
    return out;
}
}  // namespace

std::string printableText(std::string_view text, size_t max) {
    return shownText(text, max, {});
}

std::string messageText(std::string_view text, size_t max) {
    return shownText(text, max, {.noBreakSpaces = true});
}

void checkPropertyPath(std::string_view word) {
    // The property follows the last dot; an indexed property holds none.
    const size_t dot = word.rfind('.');
    if (dot == std::string_view::npos || !validPropertyName(word.substr(dot + 1)) ||
        !platform::UserDriver::parseTarget(word.substr(0, dot)))
        throw ScriptError("bad property " + quotedText(word) + platform::hiddenCharacterNote(word) +
                          " (expected Window.Property or Window.control.Property)");
}

std::optional<std::pair<int, int>> parseGrid(std::string_view text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    const int cols = gridSide(text.substr(0, x));
    const int rows = gridSide(text.substr(x + 1));
    if (!cols || !rows) return std::nullopt;
    return std::pair{cols, rows};
}

std::optional<platform::Locale> parseLocale(std::string_view text) {
    if (text == "en") return platform::Locale::english();
    if (text == "de") return platform::Locale::german();
    return std::nullopt;
}

ExpectedValue expectedValue(const std::vector<std::string>& words, size_t first) {
    const size_t n = words.size() - first;
    ExpectedValue e;
    if (n == 1) {
        e.text = words[first];
        return e;
    }
    if (!hasRangeForm(words, first)) throw badSyntax("VALUE, VALUE ~TOLERANCE or between LOW HIGH");
    e.numeric = true;
    if (n == 2) {
        const double value = decimalNumber(words[first], "the expected value");
        const double tolerance =
            decimalNumber(std::string_view(words[first + 1]).substr(1), "the tolerance after ~");
        if (tolerance < 0) throw ScriptError("the tolerance after ~ must not be negative");
        e.low = value - tolerance;
        e.high = value + tolerance;
        e.text = words[first] + " " + words[first + 1];
        return e;
    }
    e.low = decimalNumber(words[first + 1], "LOW");
    e.high = decimalNumber(words[first + 2], "HIGH");
    if (e.low > e.high) throw ScriptError("between LOW HIGH needs LOW at most HIGH");
    e.text = "between " + words[first + 1] + " and " + words[first + 2];
    return e;
}

bool hasRangeForm(const std::vector<std::string>& words, size_t first) {
    const size_t n = words.size() - first;
    return (n == 2 && words[first + 1].size() > 1 && words[first + 1][0] == '~') ||
           (n == 3 && words[first] == "between");
}

bool valueAllowed(std::string_view found, const ExpectedValue& expected) {
    if (!expected.numeric) return valuesMatch(found, expected.text);
    const auto v = platform::parseNumber(found);
    return v && *v >= expected.low && *v <= expected.high;
}

std::string expectedText(const ExpectedValue& expected) {
    return expected.numeric ? expected.text : quotedText(expected.text);
}

ScriptError badSyntax(std::string_view expected) {
    return ScriptError("bad syntax, expected: " + std::string(expected));
}

void checkWordCount(const std::vector<std::string>& words, size_t min, size_t max,
                    std::string_view usage) {
    const size_t n = words.empty() ? 0 : words.size() - 1;
    if (n < min || n > max) throw badSyntax(usage);
}

platform::TargetName checkTarget(std::string_view word) {
    auto t = platform::UserDriver::parseTarget(word);
    if (!t)
        throw ScriptError("bad target " + quotedText(word) + platform::hiddenCharacterNote(word) +
                          " (expected Window, Window.control or Window.control(index))");
    return *t;
}

}  // namespace kavrel
