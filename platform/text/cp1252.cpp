#include "platform/text/cp1252.h"

#include <array>
#include <optional>

#include "platform/text/utf8.h"

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
        // A broken sequence gives one '?' for its longest valid start.
        const Utf8Sequence seq = utf8SequenceAt(utf8, i);
        i += seq.length ? seq.length : seq.brokenLength;
        auto b = seq.length ? codePointToCp1252(seq.cp) : std::nullopt;
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
