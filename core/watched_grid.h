#pragma once
// A Grid2D that counts every hand-out for writing, so that a table built from
// it can tell when it has to be built again. Reading does not count.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/grid2d.h"

namespace kavrel {

template <typename T>
class WatchedGrid : private Grid2D<T> {
    using Base = Grid2D<T>;

  public:
    WatchedGrid() = default;
    WatchedGrid(const WatchedGrid&) = default;
    WatchedGrid(WatchedGrid&&) noexcept = default;
    // Taking another grid's contents is a change, whatever its count was.
    WatchedGrid& operator=(const WatchedGrid& other) {
        Base::operator=(other);
        changes_ = std::max(changes_, other.changes_) + 1;
        return *this;
    }
    WatchedGrid& operator=(WatchedGrid&& other) noexcept {
        const uint64_t next = std::max(changes_, other.changes_) + 1;
        Base::operator=(std::move(other));
        changes_ = next;
        return *this;
    }

    using Base::cols;
    using Base::contains;
    using Base::empty;
    using Base::get;
    using Base::rows;
    const T& at(int x, int y) const { return Base::at(x, y); }
    const Base& grid() const { return *this; }

    T& at(int x, int y) {
        ++changes_;
        return Base::at(x, y);
    }
    bool set(int64_t x, int64_t y, const T& value) {
        ++changes_;
        return Base::set(x, y, value);
    }
    void assign(int newCols, int newRows, const T& fill = T{}) {
        ++changes_;
        Base::assign(newCols, newRows, fill);
    }
    void fill(const T& value) {
        ++changes_;
        Base::fill(value);
    }

    // Goes up with every write access: the same count, the same contents.
    uint64_t changes() const { return changes_; }

  private:
    uint64_t changes_ = 0;
};

}  // namespace kavrel
