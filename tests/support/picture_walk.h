#pragma once
// A picture's walk over bytes held in memory, for tests and fuzz targets:
// the bytes read as a file's, and the verdict of a walk that hands on
// nothing.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/picture_readers/picture_header.h"
#include "platform/picture_readers/picture_reader.h"

namespace kavrel_test {

inline platform::PictureBytes memoryBytes(std::span<const uint8_t> bytes) {
    return [bytes](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        if (offset >= bytes.size()) return 0;
        const size_t got = static_cast<size_t>(std::min<uint64_t>(n, bytes.size() - offset));
        std::memcpy(out, bytes.data() + offset, got);
        return got;
    };
}

inline platform::PictureHeader readPictureHeader(const platform::PictureBytes& bytes) {
    return platform::readPicture(bytes, [](const uint8_t*, size_t) { return true; });
}

inline platform::PictureHeader readPictureHeader(std::span<const uint8_t> bytes) {
    return readPictureHeader(memoryBytes(bytes));
}

}  // namespace kavrel_test
