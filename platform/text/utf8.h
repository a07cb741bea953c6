#pragma once
// Splitting UTF-8 text into code points.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The valid UTF-8 sequence that starts at `text[i]`: its code point and its
// length in bytes; length 0 when none starts there. Then `brokenLength` is
// the length of the longest start of a valid sequence found there (at least
// one byte), for a reader that skips a broken start as one piece (the
// Windows-1252 conversion writes one '?' for it); decodeUtf8 does not, it
// replaces each byte of it. Both are 0 past the end of the text.
struct Utf8Sequence {
    char32_t cp = 0;
    size_t length = 0;
    size_t brokenLength = 0;
};
Utf8Sequence utf8SequenceAt(std::string_view text, size_t i);
// The code points of the text; a byte that starts no valid sequence counts
// as one code point of its own, U+FFFD.
std::vector<char32_t> decodeUtf8(std::string_view text);
// One code point as UTF-8 (U+FFFD for values no code point can have).
std::string encodeUtf8(char32_t cp);
// encodeUtf8 appended to `out`.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace platform
