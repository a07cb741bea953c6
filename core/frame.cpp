#include "core/frame.h"

#include <algorithm>

namespace kavrel {

namespace {
// Frames follow the grid, 50 x 50 at most; this only stops absurd sizes.
constexpr int kMaxBound = 32767;
}  // namespace

void Frame::resize(int cols, int rows) {
    cols_ = std::clamp(cols, 0, kMaxBound);
    rows_ = std::clamp(rows, 0, kMaxBound);
    bytes_.assign(static_cast<size_t>(cols_ + 1) * static_cast<size_t>(rows_ + 1) * kComponents, 0);
}

void Frame::clear() {
    std::fill(bytes_.begin(), bytes_.end(), uint8_t{0});
}

uint8_t Frame::get(int64_t x, int64_t y, int64_t c) const {
    if (!contains(x, y, c)) return 0;
    return at(static_cast<int>(x), static_cast<int>(y), static_cast<int>(c));
}

void Frame::setRgb(int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t b) {
    if (!contains(x, y)) return;
    const size_t i = index(static_cast<int>(x), static_cast<int>(y), 0);
    bytes_[i] = r;
    bytes_[i + 1] = g;
    bytes_[i + 2] = b;
}

platform::Color Frame::rgb(int64_t x, int64_t y) const {
    if (!contains(x, y)) return 0;
    const size_t i = index(static_cast<int>(x), static_cast<int>(y), 0);
    return platform::rgb(bytes_[i], bytes_[i + 1], bytes_[i + 2]);
}

}  // namespace kavrel
