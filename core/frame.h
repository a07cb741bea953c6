#pragma once
// One byte per light (x, y) and component c (0 red, 1 green, 2 blue). Bounds are
// inclusive, 0..cols, 0..rows, 0..3: one spare index per dimension, so the
// lights are x < cols and y < rows.
#include <bit>
#include <cstdint>
#include <vector>

#include "platform/drawing/surface.h"

namespace kavrel {

class Frame {
  public:
    static constexpr int kComponents = 4;  // red, green, blue, spare
    // A light's four bytes read as one word: red in the low byte, like
    // platform::Color; this mask keeps red, green and blue.
    static constexpr uint32_t kRgbBits = 0x00FFFFFFu;
    static_assert(std::endian::native == std::endian::little,
                  "lights are read as little-endian words");

    Frame() = default;  // one spare light, 0x0 lights
    Frame(int cols, int rows) { resize(cols, rows); }

    // New bounds, every byte 0. Negative bounds count as 0.
    void resize(int cols, int rows);
    void clear();

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    bool contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x <= cols_ && y <= rows_;
    }
    bool contains(int64_t x, int64_t y, int64_t c) const {
        return contains(x, y) && c >= 0 && c < kComponents;
    }

    // Callers check contains() first.
    uint8_t& at(int x, int y, int c) { return bytes_[index(x, y, c)]; }
    uint8_t at(int x, int y, int c) const { return bytes_[index(x, y, c)]; }
    // 0 outside the bounds.
    uint8_t get(int64_t x, int64_t y, int64_t c) const;

    // Row y: kComponents bytes per light from x = 0, the lights of one row and
    // the rows themselves one after another. Callers check contains(0, y) first.
    uint8_t* row(int y) { return bytes_.data() + index(0, y, 0); }
    const uint8_t* row(int y) const { return bytes_.data() + index(0, y, 0); }

    // Both ignore positions outside the bounds (rgb() then gives 0).
    void setRgb(int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t b);
    platform::Color rgb(int64_t x, int64_t y) const;

    bool operator==(const Frame&) const = default;

  private:
    size_t index(int x, int y, int c) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(cols_ + 1) + static_cast<size_t>(x)) *
                   kComponents +
               static_cast<size_t>(c);
    }

    int cols_ = 0;
    int rows_ = 0;
    std::vector<uint8_t> bytes_ = std::vector<uint8_t>(kComponents, 0);
};

}  // namespace kavrel
