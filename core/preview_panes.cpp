#include "core/preview_panes.h"

#include <algorithm>

#include "core/bank_context.h"

namespace kavrel {

int paneCellSize(const platform::PictureBox& pane, int cols, int rows) {
    const int side = std::min(pane.surface().width(), pane.surface().height());
    const int lights = std::max({cols, rows, 1});
    return std::max(1, side / lights);
}

void clearPane(platform::PictureBox& pane, Frame& shadow) {
    pane.setBackColor(platform::rgb(0, 0, 0));
    shadow.clear();
}

void redrawPane(platform::PictureBox& pane, const Frame& frame, Frame& shadow, bool& dirty,
                int cols, int rows) {
    if (!dirty) return;
    const int w = std::min({cols, frame.cols(), shadow.cols()});
    const int h = std::min({rows, frame.rows(), shadow.rows()});
    const int cell = paneCellSize(pane, cols, rows);
    platform::Canvas& canvas = pane.canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const platform::Color c = frame.rgb(x, y);
            if (c == shadow.rgb(x, y)) continue;
            const float left = static_cast<float>(x * cell);
            const float top = static_cast<float>(y * cell);
            const float last = static_cast<float>(cell - 1);
            canvas.Line(left, top, left + last, top + last, c, true, true);
            shadow.setRgb(x, y, static_cast<uint8_t>(c & 0xFF),
                          static_cast<uint8_t>((c >> 8) & 0xFF),
                          static_cast<uint8_t>((c >> 16) & 0xFF));
        }
    dirty = false;
}

void redrawBankPane(BankContext& bank) {
    BankState& s = bank.state();
    redrawPane(bank.pane(), s.frame, s.shadow, s.dirty, bank.cols(), bank.rows());
}

}  // namespace kavrel
