#include "platform/text/utf8.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

Utf8Sequence utf8SequenceAt(std::string_view text, size_t i) {
    if (i >= text.size()) return {};
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80u) return {lead, 1, 0};
    // The lead byte gives the length and the range of the second byte, which
    // rules out overlong forms, surrogates and values past U+10FFFF at once.
    size_t len = 0;
    char32_t cp = 0;
    unsigned char low = 0x80u, high = 0xBFu;
    if (lead >= 0xC2u && lead <= 0xDFu) {
        len = 2, cp = lead & 0x1Fu;
    } else if (lead >= 0xE0u && lead <= 0xEFu) {
        len = 3, cp = lead & 0x0Fu;
        if (lead == 0xE0u) low = 0xA0u;
        if (lead == 0xEDu) high = 0x9Fu;
    } else if (lead >= 0xF0u && lead <= 0xF4u) {
        len = 4, cp = lead & 0x07u;
        if (lead == 0xF0u) low = 0x90u;
        if (lead == 0xF4u) high = 0x8Fu;
    } else {
        return {0, 0, 1};
    }
    for (size_t k = 1; k < len; ++k) {
        if (i + k >= text.size()) return {0, 0, k};
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (b < (k == 1 ? low : 0x80u) || b > (k == 1 ? high : 0xBFu)) return {0, 0, k};
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return {cp, len, 0};
}

std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Utf8Sequence seq = utf8SequenceAt(text, i);
        out.push_back(seq.length ? seq.cp : kReplacement);
        i += seq.length ? seq.length : 1;
    }
    return out;
}

std::string encodeUtf8(char32_t cp) {
    std::string s;
    appendUtf8(s, cp);
    return s;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace platform
