#include "effects/ticker/ticker_strip.h"

#include <algorithm>
#include <cmath>

#include "core/colors.h"
#include "effects/ticker/font_descriptor.h"
#include "platform/runtime/convert.h"
#include "platform/controls/picture_box.h"
#include "platform/text/text_render.h"
#include "platform/text/utf8.h"

namespace kavrel {

namespace {

constexpr int kLetterRows = 5;
constexpr int kVerticalPitch = 6;  // a pixel-font letter and its gap row

uint32_t rgbOf(uint32_t color) {
    return platform::rgb(getColorPart(color, kRedMask), getColorPart(color, kGreenMask),
                         getColorPart(color, kBlueMask));
}

// Fills columns 0..w-1 and rows 0..h-1 of the strip.
void fillStrip(Grid2D<uint32_t>& strip, int32_t w, int32_t h, uint32_t color) {
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) strip.set(x, y, color);
}

std::string joinUtf8(const std::vector<char32_t>& chars) {
    std::string s;
    for (char32_t c : chars) s += platform::encodeUtf8(c);
    return s;
}

}  // namespace

bool verticalLayout(const EffectRecord& entry) {
    return entry.letterMode != 0 || entry.direction == 1 || entry.direction == 5;
}

std::vector<char32_t> tickerChars(std::string_view text) {
    std::vector<char32_t> chars = platform::decodeUtf8(text);
    if (chars.size() > kMaxTickerChars) chars.resize(kMaxTickerChars);
    return chars;
}

void drawLetter(BankState& bank, const FontDefinition& font, const EffectRecord& entry, int32_t x,
                int32_t y, int16_t idx) {
    for (int r = 1; r <= kLetterRows; ++r) {
        unsigned bits = font.fontData(idx, r);
        for (int64_t c = 0; c <= bank.tickerWidth; ++c) {
            bank.tickerBuf.set(x + c, int64_t{y} + r - 1,
                               (bits & 1u) ? entry.color1 : entry.color2);
            bits >>= 1;
        }
    }
}

void drawLetterMirrored(BankState& bank, const FontDefinition& font, const EffectRecord& entry,
                        int32_t x, int32_t y, int16_t idx) {
    const int w = font.fontData(idx, 0);
    for (int r = 1; r <= kLetterRows; ++r) {
        unsigned bits = font.fontData(idx, r);
        for (int c = 0; c <= w; ++c) {
            bank.tickerBuf.set(int64_t{x} + w - c, int64_t{y} + r - 1,
                               (bits & 1u) ? entry.color1 : entry.color2);
            bits >>= 1;
        }
    }
}

void buildPixelStrip(BankState& bank, TickerShape& shape, const FontDefinition& font,
                     const EffectRecord& entry) {
    std::vector<char32_t> chars = tickerChars(entry.text);
    bank.fontSize = 5;
    int32_t total = 0;
    bank.tickerWidth = 0;
    for (char32_t c : chars) {
        const int w = font.fontData(FontDefinition::glyphOf(c), 0);
        total += w + 1;
        bank.tickerWidth = std::max<int32_t>(bank.tickerWidth, w);
    }
    const int32_t len = static_cast<int32_t>(chars.size());
    const bool vertical = verticalLayout(entry);
    if (vertical) {
        bank.tickerBuf.assign(bank.tickerWidth, kVerticalPitch * len, 0u);
        fillStrip(bank.tickerBuf, bank.tickerWidth, kVerticalPitch * len, entry.color2);
        bank.stepMax = static_cast<int16_t>(kVerticalPitch * len);
    } else {
        bank.tickerBuf.assign(total + bank.tickerWidth, kLetterRows, 0u);
        fillStrip(bank.tickerBuf, total + bank.tickerWidth, kLetterRows, entry.color2);
        bank.stepMax = static_cast<int16_t>(total);
    }

    if (entry.backward != 0) std::reverse(chars.begin(), chars.end());
    int32_t cursor = 0;
    for (char32_t c : chars) {
        const int16_t idx = FontDefinition::glyphOf(c);
        const int32_t x = vertical ? 0 : cursor;
        const int32_t y = vertical ? cursor : 0;
        if (entry.mirror != 0)
            drawLetterMirrored(bank, font, entry, x, y, idx);
        else
            drawLetter(bank, font, entry, x, y, idx);
        cursor += vertical ? kVerticalPitch : font.fontData(idx, 0) + 1;
    }
    shape = TickerShape{kLetterRows, true};
}

void clearStrip(BankState& bank, TickerShape& shape) {
    bank.tickerBuf.assign(-1, -1);
    bank.tickerWidth = 0;
    bank.stepMax = 0;
    shape = TickerShape{0, false};
}

bool buildSystemStrip(BankState& bank, TickerShape& shape, const EffectRecord& entry,
                      platform::PictureBox& canvas, platform::TextRasterizer& text, int cols,
                      int rows) {
    if (bank.fontSize <= 6) return false;
    const int32_t size = std::min(bank.fontSize, kMaxFontSize);
    std::vector<char32_t> chars = tickerChars(entry.text);
    const bool vertical = verticalLayout(entry);
    const double across = vertical ? size * 1.5 : size;
    const double perChar = vertical ? size : size * 1.6;
    const double extra = vertical ? 5.0 : 0.0;
    // Whole letters only, so the canvas stays within its limits.
    const double byArea = static_cast<double>(kMaxCanvasPixels) / std::max(across, 1.0);
    const double room = std::min<double>(kMaxCanvasSide, byArea) - extra;
    const auto fit = static_cast<size_t>(std::max(0.0, std::floor(room / perChar)));
    if (chars.size() > fit) chars.resize(fit);
    const double len = static_cast<double>(chars.size());

    const auto pixels = [](double v) { return static_cast<float>(platform::roundHalfEven(v)); };
    canvas.canvas().setScaleMode(platform::ScaleMode::Pixels);
    canvas.setAutoSize(false);
    canvas.setHeight(pixels(vertical ? size * len + extra : size));
    canvas.setWidth(pixels(vertical ? across : perChar * len));
    canvas.setForeColor(entry.color1);
    canvas.setBackColor(entry.color2);  // clears the canvas
    canvas.canvas().Cls();

    platform::FontStyle font;
    font.face = bank.fontName;
    font.height = size;
    font.weight = bank.fontBold == 1 ? 700 : 400;
    font.italic = bank.fontItalic == 1;
    font.underline = bank.fontWeight == 1;
    font.strikeout = bank.fontStrike == 1;
    const uint32_t ink = rgbOf(entry.color1);
    platform::Surface& surface = canvas.surface();
    if (vertical) {
        if (entry.backward != 0) std::reverse(chars.begin(), chars.end());
        for (size_t i = 0; i < chars.size(); ++i)
            text.drawText(surface, 0, static_cast<int32_t>(i) * size,
                          platform::encodeUtf8(chars[i]), font, ink);
    } else {
        if ((entry.backward != 0) != (entry.mirror != 0)) std::reverse(chars.begin(), chars.end());
        text.drawText(surface, 0, 0, joinUtf8(chars), font, ink);
    }

    // Trim to the last column (from 1 on) holding exactly the text colour.
    const int32_t width = surface.width();
    const int32_t height = surface.height();
    int32_t trimmed = width;
    for (int32_t x = width - 1; x >= 1; --x) {
        bool found = false;
        for (int32_t y = 0; y < height && !found; ++y) found = surface.at(x, y) == ink;
        if (found) {
            ++trimmed;
            break;
        }
        --trimmed;
    }
    bank.tickerWidth = trimmed;
    canvas.setWidth(static_cast<float>(trimmed + 2));

    const int32_t w = surface.width();
    const int32_t h = surface.height();
    bank.stepMax = static_cast<int16_t>(vertical ? h : w);
    bank.tickerBuf.assign(w, h, 0u);
    const bool mirror = entry.mirror != 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            bank.tickerBuf.at(x, y) = surface.at(mirror ? w - 1 - x : x, y);
    shape = TickerShape{size, false};

    // The sampling box is shared with the image effects: give it back its size.
    canvas.setWidth(static_cast<float>(cols));
    canvas.setHeight(static_cast<float>(rows));
    return true;
}

void placeStrip(BankState& bank, const TickerShape& shape, const EffectRecord& entry, int cols,
                int rows) {
    const int64_t level = std::clamp<int64_t>(entry.level, 0, 100);
    const auto offset = [level](int64_t free) -> int16_t {
        if (free <= 0) return 0;
        return static_cast<int16_t>(
            platform::intFloor(static_cast<double>((free + 1) * level) / 100.0));
    };
    const int64_t freeX = int64_t{cols} - bank.tickerWidth;
    const int64_t freeY = int64_t{rows} - shape.letterHeight;
    if (entry.letterMode != 0) {
        bank.posX = offset(freeX);
        bank.posY = freeY > 0 ? static_cast<int16_t>(freeY / 2) : int16_t{0};
    } else if (verticalLayout(entry)) {
        bank.posX = offset(freeX);
        bank.posY = 0;
    } else {
        bank.posY = offset(freeY);
        bank.posX = 0;
    }
}

}  // namespace kavrel
