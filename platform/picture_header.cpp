#include "platform/picture_header.h"

#include "platform/picture_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {

namespace {

using Verdict = PictureHeader::Verdict;

int64_t signed32(uint32_t v) {
    return static_cast<int64_t>(static_cast<int32_t>(v));
}

PictureHeader judged(PictureFormat format, int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) return {Verdict::Broken, format};
    return {pictureSizeAllowed(w, h) ? Verdict::Fits : Verdict::TooLarge, format, w, h};
}

struct Size {
    int64_t w = 0, h = 0;
};

// PNG: the IHDR chunk comes first.
std::optional<Size> pngSize(PictureReader& in, uint64_t at) {
    std::array<uint8_t, 24> b{};
    if (!in.getOnce(at, b.data(), b.size()) || std::memcmp(b.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    return Size{be32(b.data() + 16), be32(b.data() + 20)};
}

// A DIB header: 16-bit sizes in the old 12-byte header, signed 32-bit sizes
// in every later one. A negative height is a top-down picture.
std::optional<Size> dibSize(PictureReader& in, uint64_t at) {
    std::array<uint8_t, 12> b{};
    if (!in.getOnce(at, b.data(), b.size())) return std::nullopt;
    const uint32_t headerSize = le32(b.data());
    if (headerSize == 12) return Size{le16(b.data() + 4), le16(b.data() + 6)};
    if (headerSize < 16) return std::nullopt;
    const int64_t w = signed32(le32(b.data() + 4)), h = signed32(le32(b.data() + 8));
    return Size{w, h < 0 ? -h : h};
}

PictureHeader bmpHeader(PictureReader& in) {
    const auto s = dibSize(in, 14);
    return s ? judged(PictureFormat::Bmp, s->w, s->h) : PictureHeader{Verdict::Broken};
}

// The largest length a PNG chunk may declare.
constexpr uint32_t kMaxPngChunk = 0x7FFFFFFF;

// True when every chunk from IHDR to IEND lies within the file. A decoder
// allocates what a chunk declares before reading it, so a chunk cut short
// would cost up to 2 GB before the decoder finds the file cut. A file that
// ends between two chunks is left to the decoder.
bool pngChunksWhole(PictureReader& in) {
    for (uint64_t at = 8;;) {
        std::array<uint8_t, 8> head{};
        if (!in.get(at, head.data(), head.size())) return !in.byte(at);
        const uint32_t length = be32(head.data());
        const uint64_t next = at + 12 + length;  // length, type, data, CRC
        if (length > kMaxPngChunk || !in.byte(next - 1)) return false;
        if (std::memcmp(head.data() + 4, "IEND", 4) == 0) return true;
        at = next;
    }
}

PictureHeader pngHeader(PictureReader& in) {
    const auto s = pngSize(in, 0);
    if (!s) return {Verdict::Broken};
    const PictureHeader judgedSize = judged(PictureFormat::Png, s->w, s->h);
    if (judgedSize.verdict == Verdict::Fits && !pngChunksWhole(in))
        return {Verdict::Broken, PictureFormat::Png};
    return judgedSize;
}

// Every entry is checked, not only the one a decoder would pick: an entry
// whose data is missing or makes no sense is passed over. The size given is
// the largest DIB entry's, the one decoded; PNG entries are only checked, as
// the decoder does not read them.
PictureHeader icoHeader(PictureReader& in) {
    std::array<uint8_t, 6> head{};
    if (!in.get(0, head.data(), head.size())) return {Verdict::Broken, PictureFormat::Ico};
    const uint32_t count = le16(head.data() + 4);
    Size largest;
    for (uint32_t i = 0; i < count; ++i) {
        std::array<uint8_t, 16> entry{};
        if (!in.get(6 + 16 * uint64_t{i}, entry.data(), entry.size()))
            return {Verdict::Broken, PictureFormat::Ico};
        const uint64_t at = le32(entry.data() + 12);
        std::array<uint8_t, 8> magic{};
        if (!in.getOnce(at, magic.data(), magic.size())) continue;
        const bool png = std::memcmp(magic.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
        std::optional<Size> s = png ? pngSize(in, at) : dibSize(in, at);
        if (s && !png) s->h = (s->h + 1) / 2;  // the colour rows and the mask's rows
        if (!s || s->w <= 0 || s->h <= 0) continue;
        if (!pictureSizeAllowed(s->w, s->h))
            return {Verdict::TooLarge, PictureFormat::Ico, s->w, s->h};
        // On a tie the later entry is decoded.
        if (!png && s->w * s->h >= largest.w * largest.h) largest = *s;
    }
    return judged(PictureFormat::Ico, largest.w, largest.h);
}

// Skips a GIF's data sub-blocks from `at`; the offset after them, or nullopt
// when the file ends first.
std::optional<uint64_t> skipSubBlocks(PictureReader& in, uint64_t at) {
    for (;;) {
        const auto n = in.byte(at);
        if (!n) return std::nullopt;
        at += 1 + *n;
        if (*n == 0) return at;
    }
}

bool exceeds(Size s) {
    return s.w > kMaxPictureSide || s.h > kMaxPictureSide || s.w * s.h > kMaxPicturePixels;
}

// The picture is the screen; frames are cut to it, but a decoder holds each
// frame whole first, so a frame's extent (its offset plus its size) must be
// allowed too. A file cut short is judged by what it holds. Also notes where
// the first frame's image data ends.
PictureHeader gifHeader(PictureReader& in) {
    std::array<uint8_t, 13> head{};
    if (!in.get(0, head.data(), head.size())) return {Verdict::Broken, PictureFormat::Gif};
    const Size screen{le16(head.data() + 6), le16(head.data() + 8)};
    auto colourTable = [](uint8_t flags) -> uint64_t {
        return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
    };
    uint64_t at = 13 + colourTable(head[10]);
    uint64_t firstFrameEnd = 0;
    for (;;) {
        const auto kind = in.byte(at);
        if (!kind || *kind == 0x3B) break;
        if (*kind == 0x21) {
            const auto next = skipSubBlocks(in, at + 2);
            if (!next) break;
            at = *next;
        } else if (*kind == 0x2C) {
            std::array<uint8_t, 10> d{};
            if (!in.get(at, d.data(), d.size())) break;
            const Size extent{int64_t{le16(d.data() + 1)} + le16(d.data() + 5),
                              int64_t{le16(d.data() + 3)} + le16(d.data() + 7)};
            if (exceeds(extent)) return {Verdict::TooLarge, PictureFormat::Gif, extent.w, extent.h};
            const auto next = skipSubBlocks(in, at + 10 + colourTable(d[9]) + 1);
            if (!next) break;
            at = *next;
            if (firstFrameEnd == 0) firstFrameEnd = at;
        } else {
            ++at;  // a stray byte between blocks
        }
    }
    PictureHeader h = judged(PictureFormat::Gif, screen.w, screen.h);
    h.firstFrameEnd = firstFrameEnd;
    return h;
}

bool isFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The next marker from `at`, found as a JPEG decoder finds it: bytes up to a
// 0xFF are skipped (a scan's coded data among them), fill bytes 0xFF too,
// and 0xFF 0x00 and the restart markers mark nothing here. `at` ends just
// past the marker.
std::optional<uint8_t> nextMarker(PictureReader& in, uint64_t& at) {
    for (;;) {
        const auto ff = in.find(at, 0xFF);
        if (!ff) return std::nullopt;
        at = *ff + 1;
        auto c = in.byte(at++);
        while (c && *c == 0xFF) c = in.byte(at++);
        if (!c) return std::nullopt;
        if (*c != 0 && !(*c >= 0xD0 && *c <= 0xD7) && *c != 0x01) return c;
    }
}

// The first frame header (SOFn) gives the size; a scan or the end before it
// is broken. After it the scans (SOS) are counted up to the end of the
// picture or of the file, as a decoder goes over the whole picture for each;
// anything else odd there is left to the decoder.
PictureHeader jpegHeader(PictureReader& in) {
    uint64_t at = 2;
    std::optional<PictureHeader> frame;
    int scans = 0, allowed = kMaxJpegScans;
    for (;;) {
        const auto marker = nextMarker(in, at);
        if (!marker || *marker == 0xD8 || *marker == 0xD9) break;
        if (*marker == 0xDA) {
            // A scan of several components costs the decoder a pass for each.
            std::array<uint8_t, 3> sos{};
            if (!frame || !in.get(at, sos.data(), sos.size())) break;
            scans += std::max(1, int{sos[2]});
            if (scans > allowed) break;
        }
        const bool firstFrame = !frame && isFrameHeader(*marker);
        std::array<uint8_t, 7> seg{};
        if (!in.get(at, seg.data(), firstFrame ? 7 : 2)) break;
        if (firstFrame) {
            frame = judged(PictureFormat::Jpeg, be16(seg.data() + 5), be16(seg.data() + 3));
            if (frame->verdict != Verdict::Fits) return *frame;
            allowed = jpegScansAllowed(frame->width, frame->height);
        }
        const uint32_t length = be16(seg.data());
        if (length < 2) break;
        at += length;
    }
    if (!frame) return {Verdict::Broken, PictureFormat::Jpeg};
    if (scans > allowed) frame->verdict = Verdict::TooManyScans;
    return *frame;
}

}  // namespace

bool pictureSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

int jpegScansAllowed(int64_t width, int64_t height) {
    const int64_t pixels = std::max<int64_t>(1, width * height);
    return static_cast<int>(std::min<int64_t>(kMaxJpegScans, kMaxJpegScanCost / pixels));
}

std::optional<PictureFormat> pictureFormatOf(const PictureBytes& bytes) {
    std::array<uint8_t, 8> b{};
    const size_t n = bytes(0, b.data(), b.size());
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') return PictureFormat::Bmp;
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureFormat::Jpeg;
    if (n >= 6 &&
        (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (n >= 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (n >= 4 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0) return PictureFormat::Ico;
    return std::nullopt;
}

PictureHeader readPictureHeader(const PictureBytes& bytes) {
    const std::optional<PictureFormat> format = pictureFormatOf(bytes);
    if (!format) return {};
    PictureReader in(bytes);
    switch (*format) {
        case PictureFormat::Bmp:
            return bmpHeader(in);
        case PictureFormat::Jpeg:
            return jpegHeader(in);
        case PictureFormat::Gif:
            return gifHeader(in);
        case PictureFormat::Png:
            return pngHeader(in);
        case PictureFormat::Ico:
            return icoHeader(in);
    }
    return {};
}

PictureBytes memoryBytes(std::span<const uint8_t> bytes) {
    return [bytes](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        if (offset >= bytes.size()) return 0;
        const size_t got = std::min<uint64_t>(n, bytes.size() - offset);
        std::memcpy(out, bytes.data() + offset, got);
        return got;
    };
}

PictureHeader readPictureHeader(std::span<const uint8_t> bytes) {
    return readPictureHeader(memoryBytes(bytes));
}

PictureHeader readPictureHeaderOfFile(int fd) {
    return readPictureHeader(fileBytes(fd));
}

}  // namespace platform
