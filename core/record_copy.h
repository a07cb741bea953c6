#pragma once
// Copying the counted arrays of an entry: elements 0 to count - 1 into an
// array of count + 1 elements (the last one spare), as entries hold them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

template <typename T>
std::vector<T> copyCounted(const std::vector<T>& from, int16_t count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    std::vector<T> out(n + 1);
    for (size_t i = 0; i < n && i < from.size(); ++i) out[i] = from[i];
    return out;
}

}  // namespace kavrel
