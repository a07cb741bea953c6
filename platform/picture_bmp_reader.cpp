// BMP: the headers are judged before a byte is handed on. The rows start
// where the file header says; what lies between the palette and them (a
// colour profile, say) is passed over unread, and the header is handed on
// with the rows moved up to follow the palette, so the gap costs nothing
// whatever its size. Bytes past what the rows can take are not handed on;
// more of them than stray bytes are refused.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/picture_readers.h"

namespace platform {

std::optional<DibSize> dibSize(const uint8_t* b) {
    const uint32_t headerSize = le32(b);
    if (headerSize == 12) return DibSize{le16(b + 4), le16(b + 6)};
    if (headerSize < 16) return std::nullopt;
    const int64_t w = static_cast<int32_t>(le32(b + 4));
    const int64_t h = static_cast<int32_t>(le32(b + 8));
    return DibSize{w, h < 0 ? -h : h};
}

uint64_t dibRowsBound(DibSize s) {
    const auto w = static_cast<uint64_t>(std::clamp<int64_t>(s.w, 0, kMaxPictureSide));
    const auto h = static_cast<uint64_t>(std::clamp<int64_t>(s.h, 0, 2 * kMaxPictureSide));
    return (4 * w + 4 + w / 8 + 4) * h;
}

// The bytes of a DIB's header, its masks after a 40-byte header and its
// palette (of its depth's colours unless it says how many it uses), as a
// decoder reads them; at most kDibHeadBound.
uint64_t dibHeadBytes(PictureStream& in) {
    const uint8_t* b = in.look(14 + 36);
    const uint8_t* core = in.look(14 + 12);
    if (!core) return kDibHeadBound;
    const uint32_t size = le32(core + 14);
    if (size == 12) {
        const uint32_t depth = le16(core + 14 + 10);
        return std::min<uint64_t>(kDibHeadBound, 12 + (depth <= 8 ? 3u << depth : 0));
    }
    if (!b || size < 40) return kDibHeadBound;
    const uint32_t depth = le16(b + 14 + 14), compression = le32(b + 14 + 16);
    const uint32_t used = le32(b + 14 + 32);
    const uint64_t masks = size > 40 ? 0 : compression == 3 ? 12 : compression == 6 ? 16 : 0;
    const uint64_t colours = depth > 8 ? used : used ? std::min(used, 1u << depth) : 1u << depth;
    return std::min<uint64_t>(kDibHeadBound, size + masks + 4 * std::min<uint64_t>(colours, 256));
}

PictureHeader readBmp(PictureStream& in) {
    constexpr PictureFormat kBmp = PictureFormat::Bmp;
    const uint64_t headBytes = dibHeadBytes(in);
    const uint8_t* b = in.look(14 + 12);
    const auto size = b ? dibSize(b + 14) : std::nullopt;
    if (!size) return broken(kBmp);
    const PictureHeader judged = judgedSize(kBmp, size->w, size->h);
    if (judged.verdict != PictureHeader::Verdict::Fits) return judged;
    const uint64_t rowsAt = le32(b + 10);
    // The headers, masks and palette come first; rows placed further on
    // are moved up to follow them.
    const uint64_t head = std::min<uint64_t>(rowsAt, 14 + headBytes);
    std::array<uint8_t, 14> fileHeader{};
    std::memcpy(fileHeader.data(), b, fileHeader.size());
    if (head < rowsAt) {
        for (int i = 0; i < 4; ++i) fileHeader[10 + i] = static_cast<uint8_t>(head >> (8 * i));
    }
    in.put(fileHeader.data(), fileHeader.size());
    in.skip(14);
    const uint64_t rows = dibRowsBound(*size);
    if (head > 14 && in.keepRun(head - 14) < head - 14) return ended(in, judged);
    in.skip(rowsAt > head ? rowsAt - head : 0);
    const uint64_t end = in.offset() + rows;
    in.keepRun(rows);
    if (in.flush() && in.holds(end + kMaxStrayBytes)) return padded(kBmp);
    return ended(in, judged);
}

}  // namespace platform
