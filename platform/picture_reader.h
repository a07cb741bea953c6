#pragma once
// Buffered reads of a picture file's bytes and the byte orders its formats
// use: shared by the header check and the copy handed to the decoder.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

// Reads up to `n` bytes at `offset` into `out`; returns how many it read
// (fewer at the end of the data, 0 past it or on an error).
using PictureBytes = std::function<size_t(uint64_t offset, uint8_t* out, size_t n)>;

// Sequential reads through a buffer, so walking a GIF's blocks or a JPEG's
// segments costs one read per buffer, not one per block.
class PictureReader {
  public:
    static constexpr size_t kBuffer = 16384;

    explicit PictureReader(const PictureBytes& source) : source_(source), buffer_(kBuffer) {}

    // Copies `n` (at most kBuffer) bytes at `offset`; false when the data
    // ends first.
    bool get(uint64_t offset, uint8_t* out, size_t n) {
        if (offset < start_ || offset + n > start_ + filled_) {
            start_ = offset;
            filled_ = source_(offset, buffer_.data(), buffer_.size());
            if (n > filled_) return false;
        }
        std::memcpy(out, buffer_.data() + (offset - start_), n);
        return true;
    }
    std::optional<uint8_t> byte(uint64_t offset) {
        uint8_t b = 0;
        return get(offset, &b, 1) ? std::optional<uint8_t>(b) : std::nullopt;
    }
    // The offset of the first byte `value` at or after `offset` and before
    // `offset + within`; nullopt when the data or the range ends first.
    std::optional<uint64_t> find(uint64_t offset, uint8_t value, uint64_t within = UINT64_MAX) {
        const uint64_t end = offset + std::min(within, UINT64_MAX - offset);
        while (offset < end) {
            if (!byte(offset)) return std::nullopt;  // loads the buffer at `offset`
            const uint8_t* from = buffer_.data() + (offset - start_);
            const size_t left =
                static_cast<size_t>(std::min<uint64_t>(filled_ - (offset - start_), end - offset));
            if (const void* hit = std::memchr(from, value, left))
                return offset + static_cast<size_t>(static_cast<const uint8_t*>(hit) - from);
            offset += left;
        }
        return std::nullopt;
    }
    // A single read of a few bytes, leaving the buffer as it is: for a part
    // that lies anywhere in the file.
    bool getOnce(uint64_t offset, uint8_t* out, size_t n) const {
        return source_(offset, out, n) >= n;
    }
    const PictureBytes& source() const { return source_; }

  private:
    const PictureBytes& source_;
    std::vector<uint8_t> buffer_;
    uint64_t start_ = 0;
    size_t filled_ = 0;
};

// The bytes of an open file, through pread: the descriptor's offset stays.
inline PictureBytes fileBytes(int fd) {
    return [fd](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        size_t got = 0;
        while (got < n) {
            const ssize_t r = ::pread(fd, out + got, n - got, static_cast<off_t>(offset + got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += static_cast<size_t>(r);
        }
        return got;
    };
}

inline uint32_t le16(const uint8_t* p) {
    return p[0] | (uint32_t{p[1]} << 8);
}
inline uint32_t le32(const uint8_t* p) {
    return le16(p) | (le16(p + 2) << 16);
}
inline uint32_t be16(const uint8_t* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}
inline uint32_t be32(const uint8_t* p) {
    return (be16(p) << 16) | be16(p + 2);
}

}  // namespace platform
