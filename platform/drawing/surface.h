#pragma once
// A persistent pixel buffer of 0x00BBGGRR colours: what picture boxes, window
// surfaces and loaded pictures hold. It keeps its drawing and can be read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

using Color = uint32_t;  // 0x00BBGGRR, red in the low byte

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}

// Pixels may be shared read-only between buffers (share()): a kept picture is
// shown by several boxes without a copy. Every write goes through writable(),
// which takes a private copy first.
class Surface {
  public:
    Surface() = default;
    Surface(int32_t width, int32_t height, Color fill = 0);
    Surface(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(const Surface& other);
    Surface& operator=(Surface&& other) noexcept;
    ~Surface() = default;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // Callers check contains() first.
    Color at(int32_t x, int32_t y) const { return data_[index(x, y)]; }
    void set(int32_t x, int32_t y, Color c) { writable()[index(x, y)] = c; }
    // Writes only inside the buffer.
    void put(int64_t x, int64_t y, Color c) {
        if (contains(x, y)) writable()[index(static_cast<int32_t>(x), static_cast<int32_t>(y))] = c;
    }
    // Row y, `width()` pixels; callers check 0 <= y < height().
    const Color* row(int32_t y) const { return data_ + index(0, y); }
    Color* row(int32_t y) { return writable() + index(0, y); }
    void fill(Color c);
    // Pixels x0..x1 (inclusive) of row y: set to `c`, or copied from row
    // `from`. Callers keep both ends inside the buffer; x0 > x1 does nothing.
    void fillSpan(int32_t y, int32_t x0, int32_t x1, Color c) {
        if (x0 <= x1) std::fill_n(writable() + index(x0, y), x1 - x0 + 1, c);
    }
    void copySpan(int32_t from, int32_t y, int32_t x0, int32_t x1) {
        if (x0 <= x1) {
            Color* p = writable();
            std::copy_n(p + index(x0, from), x1 - x0 + 1, p + index(x0, y));
        }
    }
    // Keeps the pixels that remain inside; new area takes `fill`.
    void resize(int32_t width, int32_t height, Color fill);
    const std::vector<Color>& pixels() const { return shared_ ? *shared_ : own_; }

    // From now on copies of this buffer share its pixels until one of them
    // is written to.
    void share();
    // The bytes of pixel storage this buffer holds (shared or not).
    size_t bytes() const { return pixels().size() * sizeof(Color); }

  private:
    size_t index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }
    Color* writable() {
        if (shared_) [[unlikely]]
            unshare();
        return own_.data();
    }
    void unshare();
    // Points data_ at whichever storage holds the pixels.
    void relink() { data_ = shared_ ? shared_->data() : own_.data(); }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<Color> own_;                            // the pixels, unless shared
    std::shared_ptr<const std::vector<Color>> shared_;  // the pixels, while shared
    const Color* data_ = nullptr;
};

}  // namespace platform
