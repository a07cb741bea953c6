#include "effects/ticker/font_descriptor.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kavrel {

namespace {

std::vector<std::string_view> splitParts(std::string_view s) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = s.find(':', start);
        if (colon == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, colon - start));
        start = colon + 1;
    }
}

// Optional sign and decimal digits only, within the 16-bit range.
std::optional<int16_t> wholeNumber(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    int32_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 32768) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT16_MIN || v > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(v);
}

}  // namespace

void readFontDescriptor(std::string_view descriptor, BankState& bank) {
    const std::vector<std::string_view> parts = splitParts(descriptor);
    bank.fontName = std::string(parts[0]);
    if (parts.size() <= 2) return;
    int16_t* fields[] = {&bank.fontSize, &bank.fontItalic, &bank.fontBold, &bank.fontWeight,
                         &bank.fontStrike};
    for (size_t i = 1; i <= 5 && i < parts.size(); ++i)
        if (const std::optional<int16_t> v = wholeNumber(parts[i])) *fields[i - 1] = *v;
}

void takeEntryFont(EffectRecord& entry, BankState& bank) {
    readFontDescriptor(entry.font, bank);
    if (bank.fontName == kPixelFontName) {
        bank.fontSize = -1;
    } else if (entry.font == kWindowsFontChoice) {
        bank.fontSize = -1;
        entry.font = kPixelFontName;
    }
}

std::string makeFontDescriptor(const std::string& face, int16_t size, bool italic, bool bold,
                               bool underline, bool strike) {
    const auto flag = [](bool on) { return on ? ":1" : ":0"; };
    return face + ":" + std::to_string(size) + flag(italic) + flag(bold) + flag(underline) +
           flag(strike);
}

}  // namespace kavrel
