#pragma once
// The built-in 5-point pixel font: 98 glyphs five rows high and one to five
// columns wide, and the lookup from a character to its glyph.
#include <cstdint>
#include <string_view>

namespace kavrel {

class FontDefinition {
  public:
    static constexpr int kGlyphCount = 98;
    static constexpr int kSlots = 101;  // glyphs 0..100; 98..100 stay empty
    static constexpr int kRows = 7;     // row 0 width, rows 1..5 bits, row 6 empty

    // Stores the glyph table; the table is all zero before.
    void initFont();
    // Row 0: the glyph's width; rows 1..5: its bit rows. 0 outside the table.
    uint8_t fontData(int64_t glyph, int64_t row) const;

    // The glyph of exactly one character (one code point); 0, the "A", for
    // anything without a glyph, the empty string and longer strings.
    static int16_t letterIndex(std::string_view s);
    static int16_t glyphOf(char32_t c);

  private:
    uint8_t fontData_[kSlots][kRows] = {};
};

}  // namespace kavrel
