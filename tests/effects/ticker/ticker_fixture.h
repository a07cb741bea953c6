#pragma once
// A bank, a canvas and a text double with known glyph boxes for ticker tests.
#include <memory>
#include <string>

#include "core/shared_state.h"
#include "effects/ticker/font_definition.h"
#include "effects/ticker/ticker_strip.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/desktop.h"
#include "platform/controls/picture_box.h"
#include "platform/text/text_render.h"
#include "platform/text/utf8.h"

namespace kavrel::testing {

inline constexpr uint32_t kInk = platform::rgb(255, 255, 255);
inline constexpr uint32_t kPaper = platform::rgb(0, 0, 40);
inline constexpr uint32_t kSmooth = platform::rgb(128, 128, 128);

// Every character takes 4 columns; "A" lights 1 column, "B" 2, anything else
// 3, over the whole cell height. With `smoothEdge` an in-between colour
// follows the last character.
class BlockText : public platform::TextRasterizer {
  public:
    bool smoothEdge = false;
    int calls = 0;
    void drawText(platform::Surface& s, int32_t x, int32_t y, std::string_view utf8,
                  const platform::FontStyle& font, platform::Color color) override {
        ++calls;
        int64_t pen = x;
        for (char32_t c : platform::decodeUtf8(utf8)) {
            const int lit = c == U'A' ? 1 : c == U'B' ? 2 : 3;
            for (int64_t yy = y; yy < int64_t{y} + font.height; ++yy)
                for (int64_t xx = pen; xx < pen + lit; ++xx) s.put(xx, yy, color);
            pen += 4;
        }
        if (smoothEdge) s.put(pen - 1, y, kSmooth);
    }
};

class CanvasWindow : public platform::Window {
  public:
    explicit CanvasWindow(platform::Desktop& d) : Window(d, "CanvasWindow") {
        setScaleMode(platform::ScaleMode::Pixels);
    }
    PLATFORM_CONTROL(platform::PictureBox, mini);
};

struct TickerBench {
    explicit TickerBench(int c = 12, int r = 12) : cols(c), rows(r) {
        font.initFont();
        bank.frame.resize(cols, rows);
        entry.color1 = kInk;
        entry.color2 = kPaper;
        entry.direction = 3;
        entry.font = "5-point";
        window.mini.setWidth(static_cast<float>(cols));
        window.mini.setHeight(static_cast<float>(rows));
    }
    void pixel(const std::string& text, int16_t direction, int16_t mirror = 0,
               int16_t backward = 0) {
        entry.text = text;
        entry.direction = direction;
        entry.mirror = mirror;
        entry.backward = backward;
        entry.font = "5-point";
        buildPixelStrip(bank, shape, font, entry);
    }
    bool system(const std::string& text, int16_t direction, int16_t size) {
        entry.text = text;
        entry.direction = direction;
        entry.font = "Test:" + std::to_string(size) + ":0:0:0:0";
        bank.fontName = "Test";
        bank.fontSize = size;
        return buildSystemStrip(bank, shape, entry, window.mini, blocks, cols, rows);
    }
    // Strip cells as '#' (text), '.' (background), '0' (never filled), '~' other.
    std::string stripRow(int y, int from, int to) const {
        std::string s;
        for (int x = from; x <= to; ++x) s += code(bank.tickerBuf.get(x, y, 0xFFFFFFFFu));
        return s;
    }
    std::string stripColumn(int x, int from, int to) const {
        std::string s;
        for (int y = from; y <= to; ++y) s += code(bank.tickerBuf.get(x, y, 0xFFFFFFFFu));
        return s;
    }
    // Frame lights the same way.
    std::string frameRow(int y) const {
        std::string s;
        for (int x = 0; x < cols; ++x) s += code(bank.frame.rgb(x, y));
        return s;
    }
    std::string frameColumn(int x) const {
        std::string s;
        for (int y = 0; y < rows; ++y) s += code(bank.frame.rgb(x, y));
        return s;
    }
    static char code(uint32_t c) {
        return c == kInk ? '#' : c == kPaper ? '.' : c == 0 ? '0' : '~';
    }

    int cols, rows;
    FontDefinition font;
    BankState bank{'A'};
    TickerShape shape;
    EffectRecord entry;
    platform::Desktop desktop;
    CanvasWindow window{desktop};
    BlockText blocks;
};

}  // namespace kavrel::testing
