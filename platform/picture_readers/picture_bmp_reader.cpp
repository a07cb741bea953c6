// BMP: the headers are judged before a byte is handed on. The rows start
// where the loader reads them; what lies between the palette and them (a
// colour profile, say) is passed over unread, and the header is handed on
// with the rows moved up to follow the palette, so the gap costs nothing
// whatever its size. What follows the rows is not read: run-length rows are
// walked as the loader reads them to find where they end.
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

// The most bytes a DIB's rows of that size can take when they are not
// run-length data: 32-bit rows, with room to spare.
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
    // Run-length rows: 8 or 4 bits a pixel; 0 for rows of fixed length.
    uint32_t runLengthBits = 0;
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
    const uint32_t runLength = (compression == 1 && depth == 8)   ? 8
                               : (compression == 2 && depth == 4) ? 4
                                                                  : 0;
    return {upTo(size + 4 * colours), true, false, runLength};
}

// Hands on run-length rows as the loader reads them, two bytes at a time:
// a pair that begins once the last row is done (an end-of-bitmap code, or
// line ends and deltas past the last row) ends them, whatever follows.
// Pairs that draw nothing (runs past a row's end, empty deltas) may run on
// without end, so the rows kept are held to pictureDataBound.
PictureHeader keepRunLengthRows(PictureStream& in, uint32_t bits, DibSize size,
                                const PictureHeader& judged) {
    enum class Phase { Neutral, Encoded, Escape, DeltaX, DeltaY, Literal };
    const uint64_t bound = pictureDataBound(size.w, size.h);
    Phase phase = Phase::Neutral;
    uint64_t walked = 0, literal = 0;  // literal: bytes of an absolute run still to come
    int64_t y = 0;
    for (;;) {
        const std::span<const uint8_t> bytes = in.window();
        if (bytes.empty()) break;  // the file ends first: all of it goes on
        size_t n = 0;
        for (; n < bytes.size(); ++n, ++walked) {
            if (walked % 2 == 0 && y >= size.h) break;
            if (walked == bound) return tooMuchData(kBmp);
            const uint8_t c = bytes[n];
            switch (phase) {
                case Phase::Neutral:
                    phase = c ? Phase::Encoded : Phase::Escape;
                    break;
                case Phase::Encoded:
                    phase = Phase::Neutral;
                    break;
                case Phase::Escape:
                    phase = Phase::Neutral;
                    if (c == 0) ++y;         // end of line
                    if (c == 1) y = size.h;  // end of bitmap
                    if (c == 2) phase = Phase::DeltaX;
                    if (c >= 3) {  // an absolute run, padded to whole pairs
                        literal = bits == 8 ? c : (c + 1u) / 2;
                        literal += literal % 2;
                        phase = Phase::Literal;
                    }
                    break;
                case Phase::DeltaX:
                    phase = Phase::DeltaY;
                    break;
                case Phase::DeltaY:
                    y += c;
                    phase = Phase::Neutral;
                    break;
                case Phase::Literal:
                    if (--literal == 0) phase = Phase::Neutral;
                    break;
            }
        }
        in.keep(n);
        if (n < bytes.size()) break;
    }
    return ended(in, judged);
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
    if (layout.runLengthBits) return keepRunLengthRows(in, layout.runLengthBits, *size, judged);
    in.keepRun(dibRowsBound(*size));
    return ended(in, judged);
}

}  // namespace platform
