#include "effects/ticker/ticker_step.h"

#include <algorithm>

#include "core/colors.h"

namespace kavrel {

namespace {

// Writes strip cell (sx, sy) into light (x, y); skipped when either is
// outside the strip or the lights.
inline void feed(BankState& bank, int w, int h, int64_t x, int64_t y, int64_t sx, int64_t sy) {
    if (x < 0 || y < 0 || x >= w || y >= h || !bank.tickerBuf.contains(sx, sy)) return;
    const uint32_t c = bank.tickerBuf.at(static_cast<int>(sx), static_cast<int>(sy));
    bank.frame.setRgb(x, y, getColorPart(c, kRedMask), getColorPart(c, kGreenMask),
                      getColorPart(c, kBlueMask));
}

inline void copyLight(Frame& f, int xs, int ys, int xd, int yd) {
    for (int c = 0; c < 3; ++c) f.at(xd, yd, c) = f.at(xs, ys, c);
}

void shift(Frame& f, int16_t direction, int w, int h) {
    switch (direction) {
        case 1:
            for (int y = 1; y < h; ++y)
                for (int x = 0; x < w; ++x) copyLight(f, x, y, x, y - 1);
            break;
        case 3:
            for (int x = 1; x < w; ++x)
                for (int y = 0; y < h; ++y) copyLight(f, x, y, x - 1, y);
            break;
        case 5:
            for (int y = h - 2; y >= 0; --y)
                for (int x = 0; x < w; ++x) copyLight(f, x, y, x, y + 1);
            break;
        case 7:
            for (int x = w - 2; x >= 0; --x)
                for (int y = 0; y < h; ++y) copyLight(f, x, y, x + 1, y);
            break;
        default:
            break;
    }
}

void letterStep(BankState& bank, const TickerShape& shape, int w, int h) {
    const int64_t boxW = std::min<int64_t>(bank.tickerWidth, int64_t{w} + 1);
    const int64_t boxH = std::min<int64_t>(shape.letterHeight, int64_t{h} + 1);
    for (int64_t i = 0; i < boxW; ++i)
        for (int64_t j = 0; j < boxH; ++j)
            feed(bank, w, h, bank.posX + i, bank.posY + j, i, bank.step + j);
    const int32_t advance = shape.pixelFont ? 6 : shape.letterHeight;
    const int32_t limit = shape.pixelFont ? bank.stepMax : bank.stepMax - shape.letterHeight;
    int32_t next = int32_t{bank.step} + advance;
    if (next >= limit || next < 0) next = 0;
    bank.step = static_cast<int16_t>(next);
}

void scrollStep(BankState& bank, const TickerShape& shape, int16_t direction, int w, int h) {
    shift(bank.frame, direction, w, h);
    if (bank.stepMax <= 0) {
        bank.step = 0;  // an empty strip feeds nothing
        return;
    }
    if (bank.step >= bank.stepMax) bank.step = 0;
    if (bank.step < 0) bank.step = static_cast<int16_t>(bank.stepMax - 1);
    const int64_t line = bank.step;
    const int64_t across = std::min<int64_t>(bank.tickerWidth, w);
    const int64_t down = std::min<int64_t>(shape.letterHeight, h);
    switch (direction) {
        case 1:
            for (int64_t i = 0; i < across; ++i)
                feed(bank, w, h, bank.posX + i, int64_t{h} - 1 + bank.posY, i, line);
            break;
        case 3:
            for (int64_t i = 0; i < down; ++i)
                feed(bank, w, h, int64_t{w} - 1 + bank.posX, bank.posY + i, line, i);
            break;
        case 5:
            for (int64_t i = 0; i < across; ++i)
                feed(bank, w, h, bank.posX + i, bank.posY, i, line);
            break;
        case 7:
            for (int64_t i = 0; i < down; ++i) feed(bank, w, h, bank.posX, bank.posY + i, line, i);
            break;
        default:
            return;
    }
    const int64_t next = line + ((direction == 1 || direction == 3) ? 1 : -1);
    bank.step = static_cast<int16_t>(next);
}

}  // namespace

void stepTickerFrame(BankState& bank, const TickerShape& shape, const EffectRecord& entry, int cols,
                     int rows) {
    const int w = std::clamp(cols, 0, bank.frame.cols());
    const int h = std::clamp(rows, 0, bank.frame.rows());
    if (entry.letterMode != 0)
        letterStep(bank, shape, w, h);
    else
        scrollStep(bank, shape, entry.direction, w, h);
}

}  // namespace kavrel
