#pragma once
// One forward walk over a picture file's bytes through one buffer: each part
// is read once, judged where it lies in the buffer, and what is handed on to
// the decoder is taken from that same buffer, never read again.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace platform {

// Reads up to `n` bytes at `offset` into `out`; returns how many it read
// (fewer only at the end of the data), or SIZE_MAX on a read error.
using PictureBytes = std::function<size_t(uint64_t offset, uint8_t* out, size_t n)>;
constexpr size_t kPictureReadError = SIZE_MAX;

// Takes the next bytes handed on; false stops the walk.
using PictureSink = std::function<bool(const uint8_t* data, size_t n)>;

// The bytes of an open file, through pread: the descriptor's offset stays.
// The file ends where fstat said when the source was made; a read that
// stops short of that, or fails, is an error, not the end.
PictureBytes fileBytes(int fd);

class PictureStream {
  public:
    static constexpr size_t kBuffer = 64 * 1024;

    PictureStream(const PictureBytes& source, const PictureSink& sink);

    // The file offset of the next byte.
    uint64_t offset() const { return start_ + pos_; }
    // The next `n` (at most kBuffer) bytes, read into the buffer when not
    // there yet; nullptr when the data ends (or fails) first.
    const uint8_t* look(size_t n);
    // The bytes in the buffer from the next one on, reading more when none
    // are; empty at the end of the data.
    std::span<const uint8_t> window();
    // Moves past `n` bytes looked at, handing them on.
    void keep(size_t n);
    // Hands on the next `n` bytes as they are read, in buffer pieces; how
    // many the data held.
    uint64_t keepRun(uint64_t n);
    // Moves past `n` bytes without handing them on; those not in the
    // buffer yet are not read.
    void skip(uint64_t n);
    // Goes to `offset`, before or after the next byte, without reading.
    void seek(uint64_t offset);
    // Hands on bytes made here (a header rewritten from judged fields).
    void put(const uint8_t* data, size_t n);
    void put(std::initializer_list<uint8_t> bytes) { put(bytes.begin(), bytes.size()); }
    // True when the byte at `offset` exists, by one read of it alone.
    bool holds(uint64_t offset);
    // Hands on what is kept and not yet handed; false once the sink refused.
    bool flush();
    bool failed() const { return failed_; }
    // True when a read failed: the walk's verdict cannot stand.
    bool readError() const { return readError_; }

  private:
    bool fill(size_t n);

    const PictureBytes& source_;
    const PictureSink& sink_;
    std::vector<uint8_t> buffer_;
    uint64_t start_ = 0;   // the file offset of buffer_[0]
    size_t pos_ = 0;       // the next byte in the buffer
    size_t filled_ = 0;    // bytes read into the buffer
    size_t keptFrom_ = 0;  // kept bytes not yet handed on: [keptFrom_, pos_)
    bool keeping_ = false;
    bool ended_ = false;   // the source gave less than asked
    bool jumped_ = false;  // the next read follows a skip: a small one
    bool failed_ = false;
    bool readError_ = false;
};

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
