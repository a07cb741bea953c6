#include "platform/cp1252.h"

#include <array>
#include <optional>

namespace platform {

namespace {

// Unicode code points of bytes 0x80..0x9F; the unassigned five map to
// themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t cp1252ToCodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
    return b;
}

std::optional<unsigned char> codePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Windows-1252 reaches no further than the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct Decoded {
    std::optional<char32_t> cp;  // nullopt for an invalid sequence
    size_t length;               // bytes consumed, at least 1
};

// Decodes one UTF-8 sequence. An invalid one consumes its longest valid
// prefix (at least one byte), so each broken sequence gives a single '?'.
Decoded decodeUtf8(std::string_view s, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    size_t need = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0;  // no overlong forms
        if (lead == 0xED) hi = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return {std::nullopt, 1};
    }
    size_t k = i + 1;
    for (size_t n = 0; n < need; ++n, ++k) {
        if (k >= s.size()) return {std::nullopt, k - i};
        unsigned char c = byte(k);
        unsigned char min = n == 0 ? lo : 0x80;
        unsigned char max = n == 0 ? hi : 0xBF;
        if (c < min || c > max) return {std::nullopt, k - i};
        cp = (cp << 6) | (c & 0x3F);
    }
    return {cp, k - i};
}

// Calls `take` with the bytes the text becomes in Windows-1252: a run of
// ASCII, which stands as it is and makes up most of any text, at once, any
// other character alone.
template <typename Take>
void forEachCp1252Piece(std::string_view utf8, Take take) {
    for (size_t i = 0; i < utf8.size();) {
        size_t ascii = i;
        while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
        if (ascii > i) {
            take(utf8.substr(i, ascii - i));
            i = ascii;
            continue;
        }
        Decoded d = decodeUtf8(utf8, i);
        i += d.length;
        auto b = d.cp ? codePointToCp1252(*d.cp) : std::nullopt;
        const char byte = b ? static_cast<char>(*b) : '?';
        take(std::string_view(&byte, 1));
    }
}

}  // namespace

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    appendCp1252(out, utf8);
    return out;
}

void appendCp1252(std::string& out, std::string_view utf8) {
    out.reserve(out.size() + utf8.size());
    forEachCp1252Piece(utf8, [&out](std::string_view piece) { out += piece; });
}

std::string keepCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    forEachCp1252Piece(utf8, [&out](std::string_view piece) {
        for (char b : piece) appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(b)));
    });
    return out;
}

std::string cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace platform
