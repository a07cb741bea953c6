#pragma once
// Reading and writing the counted arrays of an entry in its project-file
// lines: an element the array does not hold is written as its zero value;
// reading grows the arrays as their lines are read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/project_fields.h"

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

// Reads `count` elements of two lines each, the first into `first` and the
// second into `second` (FieldReader reads such as &FieldReader::color), both
// arrays grown as they are read and ending with their spare element.
template <typename A, typename B>
bool readCountedPairs(FieldReader& in, int count, std::vector<A>& first, std::vector<B>& second,
                      bool (FieldReader::*readFirst)(A&), bool (FieldReader::*readSecond)(B&)) {
    startCounted(in.room(count, 2), first, second);
    for (int k = 0; k < count; ++k) {
        A a{};
        B b{};
        if (!((in.*readFirst)(a) && (in.*readSecond)(b))) return false;
        first.push_back(a);
        second.push_back(b);
    }
    first.emplace_back();
    second.emplace_back();
    return true;
}

}  // namespace kavrel
