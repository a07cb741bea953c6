#pragma once
// A growable two-dimensional array indexed (x, y) with inclusive bounds 0..cols
// and 0..rows: the per-light arrays keep one spare index in each dimension.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

template <typename T>
class Grid2D {
  public:
    // Indexes are 16-bit in the data model; larger bounds are cut to this.
    static constexpr int kMaxBound = 32767;

    Grid2D() = default;  // holds no element
    Grid2D(int cols, int rows, const T& fill = T{}) { assign(cols, rows, fill); }

    // Upper bounds (inclusive); -1 while the grid holds nothing.
    int cols() const { return cols_; }
    int rows() const { return rows_; }
    bool empty() const { return cells_.empty(); }
    bool contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x <= cols_ && y <= rows_;
    }

    // Callers check contains() first.
    T& at(int x, int y) { return cells_[index(x, y)].value; }
    const T& at(int x, int y) const { return cells_[index(x, y)].value; }

    // The element at (x, y), or `fallback` outside the bounds.
    T get(int64_t x, int64_t y, const T& fallback) const {
        return contains(x, y) ? at(static_cast<int>(x), static_cast<int>(y)) : fallback;
    }
    // Writes only inside the bounds; says whether it wrote.
    bool set(int64_t x, int64_t y, const T& value) {
        if (!contains(x, y)) return false;
        at(static_cast<int>(x), static_cast<int>(y)) = value;
        return true;
    }

    // New bounds, every element `fill`. A negative bound empties the grid.
    void assign(int cols, int rows, const T& fill = T{}) {
        cols_ = clampBound(cols);
        rows_ = clampBound(rows);
        if (cols_ < 0 || rows_ < 0) cols_ = rows_ = -1;
        cells_.assign(slotCount(cols_, rows_), Cell{fill});
    }

    // New bounds keeping every element whose (x, y) stays inside; new ones take `fill`.
    void resize(int cols, int rows, const T& fill = T{}) {
        Grid2D next(cols, rows, fill);
        const int w = std::min(cols_, next.cols_);
        const int h = std::min(rows_, next.rows_);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) next.at(x, y) = at(x, y);
        *this = std::move(next);
    }

    void fill(const T& value) { std::fill(cells_.begin(), cells_.end(), Cell{value}); }
    // Sets x0 <= x < x1 of row y; callers check that both ends are inside.
    void fillSpan(int y, int x0, int x1, const T& value) {
        if (x0 >= x1) return;
        const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(index(x0, y));
        std::fill(first, first + (x1 - x0), Cell{value});
    }

    bool operator==(const Grid2D&) const = default;

  private:
    // Wrapping the element keeps std::vector<bool> from packing bits, so at() can
    // hand out references for every T.
    struct Cell {
        T value;
        bool operator==(const Cell&) const = default;
    };

    static int clampBound(int b) { return std::clamp(b, -1, kMaxBound); }
    static size_t slotCount(int cols, int rows) {
        if (cols < 0 || rows < 0) return 0;
        return static_cast<size_t>(cols + 1) * static_cast<size_t>(rows + 1);
    }
    size_t index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(cols_ + 1) + static_cast<size_t>(x);
    }

    int cols_ = -1;
    int rows_ = -1;
    std::vector<Cell> cells_;
};

}  // namespace kavrel
