#include "platform/utf8.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool continuation(unsigned char c) {
    return (c & 0xC0u) == 0x80u;
}

}  // namespace

Utf8Sequence utf8SequenceAt(std::string_view text, size_t i) {
    if (i >= text.size()) return {};
    const auto c = static_cast<unsigned char>(text[i]);
    size_t len = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if (c < 0x80u) {
        return {c, 1};
    } else if ((c & 0xE0u) == 0xC0u) {
        len = 2, cp = c & 0x1Fu, least = 0x80;
    } else if ((c & 0xF0u) == 0xE0u) {
        len = 3, cp = c & 0x0Fu, least = 0x800;
    } else if ((c & 0xF8u) == 0xF0u) {
        len = 4, cp = c & 0x07u, least = 0x10000;
    } else {
        return {};
    }
    if (i + len > text.size()) return {};
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (!continuation(b)) return {};
        cp = (cp << 6) | (b & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {cp, len};
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
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

}  // namespace platform
