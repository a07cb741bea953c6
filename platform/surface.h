#pragma once
// A persistent pixel buffer of 0x00BBGGRR colours: what picture boxes, window
// surfaces and loaded pictures hold. It keeps its drawing and can be read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

using Color = uint32_t;  // 0x00BBGGRR, red in the low byte

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}

class Surface {
  public:
    Surface() = default;
    Surface(int32_t width, int32_t height, Color fill = 0);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // Callers check contains() first.
    Color at(int32_t x, int32_t y) const { return px_[index(x, y)]; }
    void set(int32_t x, int32_t y, Color c) { px_[index(x, y)] = c; }
    // Writes only inside the buffer.
    void put(int64_t x, int64_t y, Color c) {
        if (contains(x, y)) px_[index(static_cast<int32_t>(x), static_cast<int32_t>(y))] = c;
    }
    void fill(Color c);
    // Pixels x0..x1 (inclusive) of row y: set to `c`, or copied from row
    // `from`. Callers keep both ends inside the buffer; x0 > x1 does nothing.
    void fillSpan(int32_t y, int32_t x0, int32_t x1, Color c) {
        if (x0 <= x1) std::fill_n(px_.begin() + offset(x0, y), x1 - x0 + 1, c);
    }
    // Row y's pixels from x = 0; callers keep y inside the buffer.
    Color* row(int32_t y) { return px_.data() + index(0, y); }
    void copySpan(int32_t from, int32_t y, int32_t x0, int32_t x1) {
        if (x0 <= x1)
            std::copy_n(px_.begin() + offset(x0, from), x1 - x0 + 1, px_.begin() + offset(x0, y));
    }
    // Keeps the pixels that remain inside; new area takes `fill`.
    void resize(int32_t width, int32_t height, Color fill);
    const std::vector<Color>& pixels() const { return px_; }

  private:
    size_t index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }
    std::ptrdiff_t offset(int32_t x, int32_t y) const {
        return static_cast<std::ptrdiff_t>(index(x, y));
    }
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<Color> px_;
};

}  // namespace platform
