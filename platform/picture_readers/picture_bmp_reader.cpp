// BMP: the headers are judged before a byte is handed on. The rows start
// where the loader reads them; what lies between the palette and them (a
// colour profile, say) is passed over unread, and the header is handed on
// with the rows moved up to follow the palette, so the gap costs nothing
// whatever its size. What follows the rows is not read.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kBmp = PictureFormat::Bmp;

// A DIB header's size: 16-bit sizes in the old 12-byte header, signed
// 32-bit ones in every later one (of 16 bytes at least), the height's sign
// the row order. nullopt for another header size.
struct DibSize {
    int64_t w = 0, h = 0;
};
std::optional<DibSize> dibSize(const uint8_t* b) {
    const uint32_t headerSize = le32(b);
    if (headerSize == 12) return DibSize{le16(b + 4), le16(b + 6)};
    if (headerSize < 16) return std::nullopt;
    const int64_t w = static_cast<int32_t>(le32(b + 4));
    const int64_t h = static_cast<int32_t>(le32(b + 8));
    return DibSize{w, h < 0 ? -h : h};
}

// The most bytes a DIB's rows of that size can take: 32-bit rows, and
// run-length data at most 2 bytes a pixel and 2 a row.
uint64_t dibRowsBound(DibSize s) {
    const auto w = static_cast<uint64_t>(std::clamp<int64_t>(s.w, 0, kMaxPictureSide));
    const auto h = static_cast<uint64_t>(std::clamp<int64_t>(s.h, 0, 2 * kMaxPictureSide));
    return (4 * w + 4 + w / 8 + 4) * h;
}

// The most bytes a DIB's header, masks and palette take.
constexpr uint64_t kDibHeadBound = 124 + 16 + 1024;

// How the loader reads what precedes a BMP's rows.
struct BmpHead {
    // The bytes of the info header, masks and palette it reads before the
    // rows; at most kDibHeadBound.
    uint64_t bytes = kDibHeadBound;
    // Bit-field rows follow the masks, whatever the rows offset says.
    bool rowsAtOffset = true;
    // Rows of 16 bits and more are read from the offset, the bytes before
    // it held: an offset past the end of the file is refused.
    bool offsetInFile = false;
};

BmpHead bmpHead(PictureStream& in) {
    const uint8_t* core = in.look(14 + 12);
    if (!core) return {};
    const uint32_t size = le32(core + 14);
    if (size == 12) {
        const uint32_t depth = le16(core + 14 + 10);
        if (depth > 8) return {12, true, true};
        return {std::min<uint64_t>(kDibHeadBound, 12 + (3u << depth))};
    }
    const uint8_t* b = in.look(14 + 36);
    if (!b || size < 40) return {};
    const uint32_t depth = le16(b + 14 + 14), compression = le32(b + 14 + 16);
    const uint32_t used = le32(b + 14 + 32);
    auto upTo = [](uint64_t bytes) { return std::min(bytes, kDibHeadBound); };
    if (compression == 3) {
        const bool masksInHeader = size == 52 || size == 56 || size == 108 || size == 124;
        return {upTo(size + (masksInHeader ? 0 : 12)), false, false};
    }
    if (depth > 8) return {upTo(size), true, true};
    const uint64_t colours = used ? std::min(used, 1u << depth) : 1u << depth;
    return {upTo(size + 4 * colours)};
}

}  // namespace

PictureHeader readBmp(PictureStream& in) {
    const BmpHead layout = bmpHead(in);
    const uint8_t* b = in.look(14 + 12);
    const auto size = b ? dibSize(b + 14) : std::nullopt;
    if (!size) return broken(kBmp);
    const PictureHeader judged = judgedSize(kBmp, size->w, size->h);
    if (judged.verdict != PictureHeader::Verdict::Fits) return judged;
    const uint64_t head = 14 + layout.bytes, offset = le32(b + 10);
    if (layout.offsetInFile && offset > head && !in.holds(offset - 1)) return broken(kBmp);
    // Rows placed past the headers are moved up to follow them; an offset
    // inside them goes on as it is, the file following, for the loader to
    // read the rows where it reads them (16-bit and deeper ones straight
    // after the info header).
    const uint64_t rowsAt = layout.rowsAtOffset ? std::max(offset, head) : head;
    std::array<uint8_t, 14> fileHeader{};
    std::memcpy(fileHeader.data(), b, fileHeader.size());
    if (rowsAt > head) {
        for (int i = 0; i < 4; ++i) fileHeader[10 + i] = static_cast<uint8_t>(head >> (8 * i));
    }
    in.put(fileHeader.data(), fileHeader.size());
    in.skip(14);
    if (in.keepRun(head - 14) < head - 14) return ended(in, judged);
    // What follows the rows is not read.
    in.skip(rowsAt - head);
    in.keepRun(dibRowsBound(*size));
    return ended(in, judged);
}

}  // namespace platform
