#pragma once
// Characters a reader cannot see, or cannot tell from a blank: a text that
// holds one reads as another, so messages escape them and say so.
#include <string>
#include <string_view>

namespace platform {

// Unicode's format characters (general category Cf): the bidirectional
// controls, which reorder the text after them on a terminal, zero-width
// characters, the byte-order mark, the soft hyphen and the like.
bool isFormatCharacter(char32_t cp);
// The bidirectional controls among them: U+061C, U+200E, U+200F,
// U+202A..U+202E and U+2066..U+2069.
bool isBidiControl(char32_t cp);
// No-break spaces, which look like a blank and separate no words: U+00A0,
// U+2007 and U+202F.
bool isNoBreakSpace(char32_t cp);

// " (it holds a no-break space)", " (it holds a bidirectional control)",
// " (it holds an invisible format character)", or a list of those, for the
// kinds the UTF-8 text holds; "" when it holds none.
std::string hiddenCharacterNote(std::string_view utf8);

}  // namespace platform
