#pragma once
// Picture files built byte by byte: numbers in either byte order, and PNG
// chunks a decoder takes as sound.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel_test {

using Bytes = std::vector<uint8_t>;

// Appends `v` in `n` bytes, least or most significant first.
inline void putLE(Bytes& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void putBE(Bytes& b, uint32_t v, int n = 4) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Writes `v` in `n` bytes at `at`.
inline void setLE(Bytes& b, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void setBE(Bytes& b, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * (n - 1 - i)));
}

inline Bytes joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline Bytes slice(const Bytes& b, size_t from, size_t to) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

// A PNG chunk with its CRC.
inline void pngChunk(Bytes& b, const char* type, const Bytes& data) {
    putBE(b, static_cast<uint32_t>(data.size()));
    const size_t from = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = from; i < b.size(); ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    putBE(b, ~crc);
}

}  // namespace kavrel_test
