#pragma once
// Building a bank's ticker strip: the entry's text as one line of letters
// (travel left or right) or one column of letters (travel up or down, and
// letter mode), in the pixel font or a system font, and where the strip sits
// on the matrix. Pure routines on the bank's state; the effect shows them.
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/shared_state.h"
#include "effects/ticker/font_definition.h"

namespace platform {
class PictureBox;
class TextRasterizer;
}  // namespace platform

namespace kavrel {

inline constexpr const char* kFontTooSmall = "FontSize too small !!!";

// Limits that keep every strip and canvas side within 16 bits: the text is
// cut to its first kMaxTickerChars characters, a font is drawn at most
// kMaxFontSize pixels high, and a system-font canvas is cut (whole letters)
// to kMaxCanvasSide pixels a side and kMaxCanvasPixels pixels in all.
inline constexpr size_t kMaxTickerChars = 5000;
inline constexpr int16_t kMaxFontSize = 1000;
inline constexpr int32_t kMaxCanvasSide = 32760;
inline constexpr int64_t kMaxCanvasPixels = 8'000'000;

// What the step needs of the strip, fixed when the strip is built: the
// letter height (rows fed across a horizontal strip, and the letter box
// height) and which letter-advance rule applies.
struct TickerShape {
    int32_t letterHeight = 0;
    bool pixelFont = true;
};

// Travel up or down, and letter mode whatever the direction, use the
// vertical strip.
bool verticalLayout(const EffectRecord& entry);
// The characters a build uses: one per code point, cut to kMaxTickerChars.
std::vector<char32_t> tickerChars(std::string_view text);

// Glyph writers: one glyph of the pixel font with its top left at strip cell
// (x, y), covering tickerWidth + 1 columns (the rest background); the
// mirrored one puts its background column first. Cells outside the strip
// are not written.
void drawLetter(BankState& bank, const FontDefinition& font, const EffectRecord& entry, int32_t x,
                int32_t y, int16_t idx);
void drawLetterMirrored(BankState& bank, const FontDefinition& font, const EffectRecord& entry,
                        int32_t x, int32_t y, int16_t idx);

// The pixel-font strip of the entry's text; sets fontSize to 5.
void buildPixelStrip(BankState& bank, TickerShape& shape, const FontDefinition& font,
                     const EffectRecord& entry);

// An empty strip: the bank shows its background and steps feed nothing.
void clearStrip(BankState& bank, TickerShape& shape);

// The system-font strip drawn on `canvas` in the bank's font variables;
// `widen` gives horizontal canvases 1.6 x the size per character. False,
// with nothing built, when the font size is 6 or less. The canvas is left
// at cols x rows.
bool buildSystemStrip(BankState& bank, TickerShape& shape, const EffectRecord& entry,
                      platform::PictureBox& canvas, platform::TextRasterizer& text, int cols,
                      int rows);

// posX and posY from the entry's level (cut to 0..100) and letter mode.
void placeStrip(BankState& bank, const TickerShape& shape, const EffectRecord& entry, int cols,
                int rows);

}  // namespace kavrel
