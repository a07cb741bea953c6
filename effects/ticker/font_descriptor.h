#pragma once
// The font descriptor of a Ticker entry, "Face:size:italic:bold:underline:strike",
// and the bank's font variables it fills. "5-point" names the pixel font.
#include <string>
#include <string_view>

#include "core/shared_state.h"

namespace kavrel {

inline constexpr const char* kPixelFontName = "5-point";
inline constexpr const char* kWindowsFontChoice = "WindowsFont";

// Reads a descriptor into the bank's font variables: part 0 is the face,
// always; with more than two parts each of parts 1 to 5 (size, italic, bold,
// underline, strike) that exists and is a 16-bit whole number is taken, and
// the others keep their values. Never fails.
void readFontDescriptor(std::string_view descriptor, BankState& bank);

// The bank's font variables for an entry's font as a selected or loaded
// entry sets them: the descriptor read, then a size of -1 for the pixel font.
// A stored "WindowsFont" (no font picked yet) becomes "5-point".
void takeEntryFont(EffectRecord& entry, BankState& bank);

// The descriptor of a font chosen in the font dialog.
std::string makeFontDescriptor(const std::string& face, int16_t size, bool italic, bool bold,
                               bool underline, bool strike);

}  // namespace kavrel
