// PNG: the signature and IHDR are judged before a byte is handed on; then
// the chunks that make the pixels go on as they are read, ancillary ones
// (a lower-case first letter) other than tRNS are passed over by their
// length unread, so a text chunk costs a seek whatever it claims. Unknown
// critical chunks go on for the decoder to refuse. The walk must reach IEND:
// a file that ends before it is cut short and refused.
#include <cstring>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

// The largest length a PNG chunk may declare.
constexpr uint32_t kMaxPngChunk = 0x7FFFFFFF;

}  // namespace

PictureHeader readPng(PictureStream& in) {
    constexpr PictureFormat kPng = PictureFormat::Png;
    constexpr size_t kStart = 8 + 8 + 13 + 4;  // signature, IHDR's length, type, data, CRC
    const uint8_t* start = in.look(kStart);
    if (!start || be32(start + 8) != 13 || std::memcmp(start + 12, "IHDR", 4) != 0)
        return broken(kPng);
    const PictureHeader size = judgedSize(kPng, be32(start + 16), be32(start + 20));
    if (size.verdict != PictureHeader::Verdict::Fits) return size;
    // The kept bytes are bounded by the picture: the decoder inflates at
    // most 8 bytes a pixel and a byte a row, and deflate's stored blocks
    // add little.
    const uint64_t bound = 2 * uint64_t(size.height) * (2 + 8 * uint64_t(size.width)) + (1 << 20);
    in.keep(kStart);
    uint64_t kept = 0;
    uint32_t passed = 0;
    for (;;) {
        const uint8_t* head = in.look(8);
        if (!head) return broken(kPng);  // ends before IEND
        const uint32_t length = be32(head);
        if (length > kMaxPngChunk) return broken(kPng);
        const uint64_t rest = uint64_t{length} + 4;  // data, CRC
        const char* type = reinterpret_cast<const char*>(head + 4);
        const bool iend = std::memcmp(type, "IEND", 4) == 0;
        if ((type[0] & 0x20) == 0 || std::memcmp(type, "tRNS", 4) == 0) {
            kept += 8 + rest;
            if (kept > bound) return padded(kPng);
            in.keep(8);
            if (in.keepRun(rest) < rest) return broken(kPng);
        } else {
            if (++passed > kMaxSkippedParts) return padded(kPng);
            in.skip(8 + rest);
        }
        if (in.failed() || iend) return ended(in, size);
    }
}

}  // namespace platform
