#pragma once
// Reading and writing the counted arrays of an entry in its project-file
// lines: an element the array does not hold is written as its zero value;
// reading grows the arrays as their lines are read.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

// The element k of `values`, or `fallback` beyond its end.
template <typename T>
T elementOr(const std::vector<T>& values, int64_t k, const T& fallback = T{}) {
    return k >= 0 && static_cast<size_t>(k) < values.size() ? values[static_cast<size_t>(k)]
                                                            : fallback;
}

// Empties each array and makes room in it for `room` elements and the spare
// one after them (see FieldReader::room); the elements are then appended as
// they are read.
template <typename... Vectors>
void startCounted(size_t room, Vectors&... vectors) {
    (vectors.clear(), ...);
    (vectors.reserve(room + 1), ...);
}

}  // namespace kavrel
