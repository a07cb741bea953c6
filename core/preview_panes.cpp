#include "core/preview_panes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

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

namespace {

constexpr uint32_t kRgbBits = Frame::kRgbBits;

// Pixels first..last (inclusive, cut to the buffer) that the square of one
// column or row covers, mapped by the pane's scale exactly as Line maps them;
// empty when first > last.
struct PixelSpan {
    int32_t first = 0, last = -1;
};

PixelSpan spanOf(std::optional<int64_t> from, std::optional<int64_t> to, int32_t size) {
    if (!from || !to) return {};
    const int64_t lo = std::max<int64_t>(std::min(*from, *to), 0);
    const int64_t hi = std::min<int64_t>(std::max(*from, *to), int64_t{size} - 1);
    return {static_cast<int32_t>(lo), static_cast<int32_t>(hi)};
}

// Copies pixels first..last of the top pixel row of `rows` to the others.
void copyDown(platform::Surface& surface, PixelSpan rows, int32_t first, int32_t last) {
    for (int32_t py = rows.first + 1; py <= rows.last; ++py)
        surface.copySpan(rows.first, py, first, last);
}

}  // namespace

// The changed lights of a row are painted into the top pixel row of their
// squares, in order, then each run of them whose squares join up is copied
// down to the other pixel rows in one piece: every pixel row of the squares
// receives the same fills, so the copy leaves what painting each square on
// its own would.
void redrawPane(platform::PictureBox& pane, const Frame& frame, Frame& shadow, bool& dirty,
                int cols, int rows) {
    if (!dirty) return;
    const int w = std::min({cols, frame.cols(), shadow.cols(), SharedState::kMaxGrid});
    const int h = std::min({rows, frame.rows(), shadow.rows(), SharedState::kMaxGrid});
    const int cell = paneCellSize(pane, cols, rows);
    const platform::Canvas& canvas = pane.canvas();
    platform::Surface& surface = pane.surface();
    // Where each column and row lies on the pane, once per repaint rather
    // than once per light.
    std::array<PixelSpan, SharedState::kMaxGrid> across, down;
    const float last = static_cast<float>(cell - 1);
    for (int x = 0; x < w; ++x) {
        const float left = static_cast<float>(x * cell);
        across[static_cast<size_t>(x)] =
            spanOf(canvas.pixelX(left), canvas.pixelX(left + last), surface.width());
    }
    for (int y = 0; y < h; ++y) {
        const float top = static_cast<float>(y * cell);
        down[static_cast<size_t>(y)] =
            spanOf(canvas.pixelY(top), canvas.pixelY(top + last), surface.height());
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* now = frame.row(y);
        uint8_t* shown = shadow.row(y);
        const PixelSpan rowSpan = down[static_cast<size_t>(y)];
        platform::Color* top = rowSpan.first <= rowSpan.last ? surface.row(rowSpan.first) : nullptr;
        int32_t runFirst = 0, runLast = -1;
        for (int x = 0; x < w; ++x) {
            // A light's red, green and blue as one word, red in the low byte
            // like platform::Color; the spare byte is masked off.
            uint32_t wanted, painted;
            std::memcpy(&wanted, now + x * Frame::kComponents, sizeof wanted);
            std::memcpy(&painted, shown + x * Frame::kComponents, sizeof painted);
            const platform::Color c = wanted & kRgbBits;
            if (c == (painted & kRgbBits)) continue;
            painted = (painted & ~kRgbBits) | c;
            std::memcpy(shown + x * Frame::kComponents, &painted, sizeof painted);
            const PixelSpan colSpan = across[static_cast<size_t>(x)];
            if (top == nullptr || colSpan.first > colSpan.last) continue;
            std::fill(top + colSpan.first, top + colSpan.last + 1, c);
            if (runFirst <= runLast && colSpan.first <= runLast + 1 &&
                colSpan.last >= runFirst - 1) {
                runFirst = std::min(runFirst, colSpan.first);
                runLast = std::max(runLast, colSpan.last);
                continue;
            }
            copyDown(surface, rowSpan, runFirst, runLast);
            runFirst = colSpan.first;
            runLast = colSpan.last;
        }
        copyDown(surface, rowSpan, runFirst, runLast);
    }
    dirty = false;
}

void redrawBankPane(BankContext& bank) {
    BankState& s = bank.state();
    redrawPane(bank.pane(), s.frame, s.shadow, s.dirty, bank.cols(), bank.rows());
}

}  // namespace kavrel
