#include "effects/color_scroll/scroll_strip.h"

#include <algorithm>
#include <array>

#include "core/colors.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

using Rgb = std::array<uint8_t, 3>;

uint32_t colourAt(const EffectRecord& e, int i) {
    return i >= 0 && static_cast<size_t>(i) < e.colors.size() ? e.colors[static_cast<size_t>(i)]
                                                              : 0u;
}
int64_t widthAt(const EffectRecord& e, int i) {
    return i >= 0 && static_cast<size_t>(i) < e.colorValues.size()
               ? e.colorValues[static_cast<size_t>(i)]
               : 0;
}
Rgb split(uint32_t c) {
    return {getColorPart(c, kRedMask), getColorPart(c, kGreenMask), getColorPart(c, kBlueMask)};
}

// The strip positions in use: the stored length, cut to what the strip holds.
int32_t usableLength(const BankState& bank) {
    const int64_t held = static_cast<int64_t>(bank.strip.size() / 4) - 1;
    return static_cast<int32_t>(
        std::clamp<int64_t>(std::min<int64_t>(bank.stripLen, held), 0, kMaxStripLength));
}

// Strip colour i; black on an empty strip.
Rgb stripColour(const BankState& bank, int32_t len, int64_t i) {
    if (len <= 0) return {0, 0, 0};
    i %= len;
    if (i < 0) i += len;
    const size_t at = static_cast<size_t>(i) * 4;
    return {bank.strip[at], bank.strip[at + 1], bank.strip[at + 2]};
}

class Lights {
  public:
    Lights(Frame& f, int cols, int rows)
        : f_(f), w_(std::clamp(cols, 0, f.cols())), h_(std::clamp(rows, 0, f.rows())) {}
    int w() const { return w_; }
    int h() const { return h_; }
    void copy(int dx, int dy, int sx, int sy) {
        for (int c = 0; c < 3; ++c) f_.at(dx, dy, c) = f_.at(sx, sy, c);
    }
    void set(int x, int y, const Rgb& v) {
        for (int c = 0; c < 3; ++c) f_.at(x, y, c) = v[static_cast<size_t>(c)];
    }
    void shiftUp() {
        for (int y = 1; y < h_; ++y)
            for (int x = 0; x < w_; ++x) copy(x, y - 1, x, y);
    }
    void shiftDown() {
        for (int y = h_ - 2; y >= 0; --y)
            for (int x = 0; x < w_; ++x) copy(x, y + 1, x, y);
    }
    void shiftLeft() {
        for (int x = 1; x < w_; ++x)
            for (int y = 0; y < h_; ++y) copy(x - 1, y, x, y);
    }
    void shiftRight() {
        for (int x = w_ - 2; x >= 0; --x)
            for (int y = 0; y < h_; ++y) copy(x + 1, y, x, y);
    }
    void fillRow(int y, const Rgb& v) {
        for (int x = 0; x < w_; ++x) set(x, y, v);
    }
    void fillColumn(int x, const Rgb& v) {
        for (int y = 0; y < h_; ++y) set(x, y, v);
    }
    // Edges to centre (inward) or centre to edges, across columns.
    void columnsCentre(bool inward, const Rgb& v) {
        const int n = w_ / 2;
        for (int y = 0; y < h_; ++y) {
            if (inward) {
                for (int i = n; i >= 1; --i) {
                    copy(i, y, i - 1, y);
                    copy(w_ - 1 - i, y, w_ - i, y);
                }
            } else {
                for (int i = 1; i <= n; ++i) {
                    copy(i - 1, y, i, y);
                    copy(w_ - i, y, w_ - 1 - i, y);
                }
            }
            set(inward ? 0 : n, y, v);
            set(inward ? w_ - 1 : w_ - 1 - n, y, v);
        }
    }
    void rowsCentre(bool inward, const Rgb& v) {
        const int n = h_ / 2;
        for (int x = 0; x < w_; ++x) {
            if (inward) {
                for (int i = n; i >= 1; --i) {
                    copy(x, i, x, i - 1);
                    copy(x, h_ - 1 - i, x, h_ - i);
                }
            } else {
                for (int i = 1; i <= n; ++i) {
                    copy(x, i - 1, x, i);
                    copy(x, h_ - i, x, h_ - 1 - i);
                }
            }
            set(x, inward ? 0 : n, v);
            set(x, inward ? h_ - 1 : h_ - 1 - n, v);
        }
    }

  private:
    Frame& f_;
    int w_;
    int h_;
};

// The diagonal feed: front + 1 lights of row y from one end, strip positions
// running backwards from c.
void diagonalFeed(Lights& l, BankState& bank, int32_t len, int32_t c, int y, bool fromRight) {
    const int count = std::clamp<int>(bank.step, 0, std::max(l.w() - 1, 0)) + 1;
    for (int j = 0; j < count && j < l.w(); ++j)
        l.set(fromRight ? l.w() - 1 - j : j, y, stripColour(bank, len, int64_t{c} - j));
    if (bank.step < l.w() - 1) bank.step = static_cast<int16_t>(std::max<int>(bank.step, -1) + 1);
}

}  // namespace

bool buildStrip(BankState& bank, const EffectRecord& e) {
    const int count = e.colorCount;
    if (count < 2) return false;
    int64_t total = 0;
    for (int i = 0; i < count; ++i) total += std::max<int64_t>(widthAt(e, i), 0);
    const int32_t len = static_cast<int32_t>(std::min<int64_t>(total, kMaxStripLength));
    bank.strip.assign(static_cast<size_t>(len + 1) * 4, 0);
    bank.stripLen = static_cast<int16_t>(len);
    int32_t p = 0;
    for (int i = 0; i < count && p < len; ++i) {
        const int64_t w = widthAt(e, i);
        const Rgb own = split(colourAt(e, i));
        const Rgb prev = split(colourAt(e, i > 0 ? i - 1 : count - 1));
        for (int64_t k = 1; k <= w && p < len; ++k, ++p) {
            const size_t at = static_cast<size_t>(p) * 4;
            for (size_t c = 0; c < 3; ++c) {
                if (e.blend == 0) {
                    bank.strip[at + c] = own[c];
                } else {
                    const double mixed =
                        (static_cast<double>(prev[c]) * static_cast<double>(w - k) +
                         static_cast<double>(own[c]) * static_cast<double>(k)) /
                        static_cast<double>(w);
                    bank.strip[at + c] = static_cast<uint8_t>(platform::roundHalfEven(mixed));
                }
            }
        }
    }
    return true;
}

void scrollStep(BankState& bank, const EffectRecord& e, int cols, int rows) {
    const int32_t len = usableLength(bank);
    const int32_t c = bank.colIdx >= 0 && bank.colIdx < len ? bank.colIdx : 0;
    const Rgb feed = stripColour(bank, len, c);
    Lights l(bank.frame, cols, rows);
    if (l.w() > 0 && l.h() > 0) {
        switch (e.direction) {
            case 1:
                l.shiftUp(), l.fillRow(l.h() - 1, feed);
                break;
            case 2:
                l.shiftUp(), diagonalFeed(l, bank, len, c, l.h() - 1, true);
                break;
            case 3:
                l.shiftLeft(), l.fillColumn(l.w() - 1, feed);
                break;
            case 4:
                l.shiftDown(), diagonalFeed(l, bank, len, c, 0, true);
                break;
            case 5:
                l.shiftDown(), l.fillRow(0, feed);
                break;
            case 6:
                l.shiftDown(), diagonalFeed(l, bank, len, c, 0, false);
                break;
            case 7:
                l.shiftRight(), l.fillColumn(0, feed);
                break;
            case 8:
                l.shiftUp(), diagonalFeed(l, bank, len, c, l.h() - 1, false);
                break;
            case 9:
                l.columnsCentre(true, feed);
                break;
            case 10:
                l.columnsCentre(false, feed);
                break;
            case 11:
                l.rowsCentre(true, feed);
                break;
            case 12:
                l.rowsCentre(false, feed);
                break;
            default:
                break;
        }
    }
    bank.colIdx = c >= len - 1 ? int16_t{0} : static_cast<int16_t>(c + 1);
}

}  // namespace kavrel
