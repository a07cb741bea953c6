#pragma once
// Text drawn on a pixel buffer in an installed font: the stand-in for
// creating a font and drawing text on a device context. Faces are found by
// name through fontconfig (an unknown face falls back to a similar one, at
// last DejaVu Sans) and rendered by FreeType without smoothing, so every lit
// pixel is exactly the text colour.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/drawing/surface.h"

namespace platform {

struct FontStyle {
    std::string face;
    int32_t height = 0;    // character cell height in pixels
    int32_t weight = 400;  // 700 and above draw bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

class TextRasterizer {
  public:
    virtual ~TextRasterizer() = default;
    // Draws the UTF-8 text on one line, the top left of its first character
    // cell at (x, y), clipped to the buffer. Draws nothing for a height
    // below 1 or when no font can be had.
    virtual void drawText(Surface& surface, int32_t x, int32_t y, std::string_view utf8,
                          const FontStyle& font, Color color) = 0;
};

// Heights above this are drawn at this height.
inline constexpr int32_t kMaxTextHeight = 4096;

std::unique_ptr<TextRasterizer> makeSystemTextRasterizer();

}  // namespace platform
