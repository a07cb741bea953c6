#include "platform/picture_copy.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {

namespace {

using Verdict = PictureHeader::Verdict;

// Hands bytes to the sink: given ones, or ranges of the file read in large
// pieces straight from the source.
class Copier {
  public:
    Copier(PictureReader& in, const PictureSink& out) : in_(in), out_(out) {}

    bool put(const uint8_t* data, size_t n) {
        failed_ = failed_ || (n > 0 && !out_(data, n));
        return !failed_;
    }
    bool put(std::initializer_list<uint8_t> bytes) { return put(bytes.begin(), bytes.size()); }
    // Copies up to `n` bytes at `offset`; how many the file held.
    uint64_t copy(uint64_t offset, uint64_t n) {
        if (buffer_.empty()) buffer_.resize(kPiece);
        uint64_t done = 0;
        while (done < n && !failed_) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(kPiece, n - done));
            const size_t got = in_.source()(offset + done, buffer_.data(), want);
            put(buffer_.data(), got);
            done += got;
            if (got < want) break;
        }
        return done;
    }
    bool failed() const { return failed_; }
    PictureReader& in() { return in_; }

  private:
    static constexpr size_t kPiece = 64 * 1024;
    PictureReader& in_;
    const PictureSink& out_;
    std::vector<uint8_t> buffer_;
    bool failed_ = false;
};

Verdict done(const Copier& out) {
    return out.failed() ? Verdict::Broken : Verdict::Fits;
}

// A declared size that is not allowed, as the header check judges it.
Verdict refusedSize(int64_t w, int64_t h) {
    return w <= 0 || h <= 0 ? Verdict::Broken : Verdict::TooLarge;
}

// PNG: the chunks that make the pixels go on; ancillary ones (a lower-case
// first letter) other than tRNS are passed over by their length, so a text
// chunk costs a seek whatever it claims. Unknown critical chunks go on for
// the decoder to refuse. The kept bytes are bounded by the picture: the
// decoder inflates at most 8 bytes a pixel and a byte a row, and deflate's
// stored blocks add little.
Verdict copyPng(Copier& out) {
    PictureReader& in = out.in();
    std::array<uint8_t, 8 + 8 + 8> start{};  // signature, IHDR's length, type, size
    if (!in.get(0, start.data(), start.size()) || std::memcmp(start.data() + 12, "IHDR", 4) != 0)
        return Verdict::Broken;
    const int64_t w = be32(start.data() + 16), h = be32(start.data() + 20);
    if (!pictureSizeAllowed(w, h)) return refusedSize(w, h);
    const uint64_t bound = 2 * uint64_t(h) * (2 + 8 * uint64_t(w)) + (1 << 20);
    out.put(start.data(), 8);
    uint64_t kept = 0;
    uint32_t passed = 0;
    for (uint64_t at = 8;;) {
        std::array<uint8_t, 8> head{};
        if (!in.get(at, head.data(), head.size()))
            return in.byte(at) ? Verdict::Broken : done(out);  // ends between chunks
        const uint32_t length = be32(head.data());
        if (length > 0x7FFFFFFF) return Verdict::Broken;
        const uint64_t whole = 12 + uint64_t{length};  // length, type, data, CRC
        const char* type = reinterpret_cast<const char*>(head.data() + 4);
        const bool critical = (type[0] & 0x20) == 0;
        if (critical || std::memcmp(type, "tRNS", 4) == 0) {
            kept += whole;
            if (kept > bound) return Verdict::Padded;
            out.put(head.data(), head.size());
            if (out.copy(at + 8, whole - 8) < whole - 8) return Verdict::Broken;
        } else {
            uint8_t last = 0;
            if (++passed > kMaxSkippedParts) return Verdict::Padded;
            if (!in.getOnce(at + whole - 1, &last, 1)) return Verdict::Broken;
        }
        if (out.failed() || std::memcmp(type, "IEND", 4) == 0) return done(out);
        at += whole;
    }
}

// The offset after a GIF block's data sub-blocks from `at`; nullopt when the
// file ends first. The walk stops once past `at + limit`, giving where it
// stopped.
std::optional<uint64_t> afterSubBlocks(PictureReader& in, uint64_t at, uint64_t limit) {
    const uint64_t end = at + limit;
    for (;;) {
        const auto n = in.byte(at);
        if (!n) return std::nullopt;
        at += 1 + *n;
        if (*n == 0 || at > end) return at;
    }
}

uint64_t gifColourTable(uint8_t flags) {
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

// GIF: the decoder passes over stray bytes between blocks and takes the
// last graphic control extension before a frame; the other extensions (a
// loop count, comments) change nothing in the first frame's pixels.
Verdict copyGif(Copier& out) {
    PictureReader& in = out.in();
    std::array<uint8_t, 13> head{};
    if (!in.get(0, head.data(), head.size())) {
        out.copy(0, head.size());
        return done(out);
    }
    out.put(head.data(), head.size());
    uint64_t at = 13 + gifColourTable(head[10]);
    if (out.copy(13, at - 13) < at - 13) return done(out);
    std::vector<uint8_t> control;  // the last graphic control extension
    uint64_t extensions = 0, stray = 0;
    for (;;) {
        const auto kind = in.byte(at);
        if (!kind || *kind == 0x3B) {
            out.put(control.data(), control.size());
            if (kind) out.put({0x3B});
            return done(out);
        }
        if (*kind == 0x21) {
            const auto label = in.byte(at + 1);
            const auto next =
                label ? afterSubBlocks(in, at + 2, kMaxGifExtensionBytes) : std::nullopt;
            if (!next) return done(out);
            extensions += *next - at;
            if (extensions > kMaxGifExtensionBytes) return Verdict::Padded;
            if (*label == 0xF9) {
                control.resize(*next - at);
                for (uint64_t i = 0; i < control.size(); i += PictureReader::kBuffer)
                    in.get(at + i, control.data() + i,
                           std::min<uint64_t>(PictureReader::kBuffer, control.size() - i));
            }
            at = *next;
            stray = 0;
        } else if (*kind == 0x2C) {
            out.put(control.data(), control.size());
            std::array<uint8_t, 10> d{};
            if (!in.get(at, d.data(), d.size())) {
                out.copy(at, d.size());
                return done(out);
            }
            const int64_t w = le16(d.data() + 5), h = le16(d.data() + 7);
            // LZW codes are 12 bits at most, and a clear code may come with
            // every pixel: 3 bytes a pixel, and sub-block lengths.
            const uint64_t bound = 4 * uint64_t(w) * uint64_t(h) + kMaxStrayBytes;
            const uint64_t data = at + 10 + gifColourTable(d[9]) + 1;  // after the code size
            const auto next = afterSubBlocks(in, data, bound);
            if (next && *next - at > bound) return Verdict::Padded;
            if (!next) {
                out.copy(at, bound);  // cut inside the frame: handed on as it is
                return done(out);
            }
            out.copy(at, *next - at);
            out.put({0x3B});
            return done(out);
        } else if (++stray > kMaxStrayBytes) {
            return Verdict::Padded;
        } else {
            ++at;
        }
    }
}

struct Marker {
    uint64_t start = 0;  // the 0xFF before the marker's code
    uint8_t code = 0;
    uint64_t after = 0;  // just past the code
};
enum class Found { Marker, End, TooFar };

// The next JPEG marker from `at` within `within` bytes, found as a decoder
// finds it: fill bytes 0xFF are passed over, and 0xFF 0x00, the restart
// markers and TEM mark nothing here.
Found nextMarker(PictureReader& in, uint64_t at, uint64_t within, Marker& m) {
    const uint64_t from = at;
    for (;;) {
        const uint64_t used = at - from;
        const auto ff = used <= within ? in.find(at, 0xFF, within - used + 1) : std::nullopt;
        if (!ff) return in.byte(from + within + 1) ? Found::TooFar : Found::End;
        uint64_t next = *ff + 1;
        auto c = in.byte(next++);
        while (c && *c == 0xFF) c = in.byte(next++);
        if (!c) return Found::End;
        if (*c != 0 && !(*c >= 0xD0 && *c <= 0xD7) && *c != 0x01) {
            m = {next - 2, *c, next};
            return Found::Marker;
        }
        at = next;
    }
}

bool isFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// APPn segments other than JFIF's and Adobe's, and comments: the decoder
// takes no pixels from them.
bool passedOver(uint8_t marker) {
    return (marker >= 0xE1 && marker <= 0xEF && marker != 0xEE) || marker == 0xFE;
}

// JPEG: a scan's coded data can take at most about 3.3 bytes a pixel of
// each of its components (every coefficient at its longest code), twice that
// with every 0xFF stuffed: bounded at 8.
Verdict copyJpeg(Copier& out) {
    PictureReader& in = out.in();
    out.put({0xFF, 0xD8});
    uint64_t at = 2, pixels = 0, passed = 0;
    uint64_t scan = 0;  // where the current scan's coded data starts, or 0
    uint64_t scanBound = 0;
    for (;;) {
        Marker m;
        const Found found = nextMarker(in, at, scan != 0 ? scanBound : kMaxStrayBytes, m);
        if (found == Found::TooFar) return Verdict::Padded;
        if (scan != 0) out.copy(scan, found == Found::End ? scanBound : m.start - scan);
        if (found == Found::End) return done(out);
        scan = 0;
        std::array<uint8_t, 7> seg{};  // a frame header's first bytes, or a scan's
        const bool hasLength = m.code != 0xD8 && m.code != 0xD9;
        if (hasLength && in.get(m.after, seg.data(), 2) && be16(seg.data()) >= 2 &&
            passedOver(m.code)) {
            if (++passed > kMaxSkippedParts) return Verdict::Padded;
            at = m.after + be16(seg.data());
            continue;
        }
        out.put({0xFF, m.code});
        if (!hasLength || !in.get(m.after, seg.data(), 2)) return done(out);
        const uint64_t length = be16(seg.data());
        if (length < 2) {
            out.put(seg.data(), 2);
            return done(out);
        }
        if (out.copy(m.after, length) < length || out.failed()) return done(out);
        at = m.after + length;
        if (pixels == 0 && isFrameHeader(m.code) && in.get(m.after, seg.data(), seg.size())) {
            const int64_t w = be16(seg.data() + 5), h = be16(seg.data() + 3);
            if (!pictureSizeAllowed(w, h)) return refusedSize(w, h);
            pixels = uint64_t(w) * uint64_t(h);
        }
        if (m.code == 0xDA && in.get(m.after, seg.data(), 3)) {
            scan = at;
            scanBound =
                8 * std::max<uint64_t>(pixels, 64) * std::max<uint8_t>(seg[2], 1) + kMaxStrayBytes;
        }
    }
}

// A DIB header's size: 16-bit sizes in the old 12-byte header, signed
// 32-bit ones in every later one, the height's sign the row order.
struct DibSize {
    int64_t w = 0, h = 0;
};
std::optional<DibSize> dibSize(PictureReader& in, uint64_t at) {
    std::array<uint8_t, 12> b{};
    if (!in.getOnce(at, b.data(), b.size())) return std::nullopt;
    if (le32(b.data()) == 12) return DibSize{le16(b.data() + 4), le16(b.data() + 6)};
    const int64_t w = static_cast<int32_t>(le32(b.data() + 4));
    const int64_t h = static_cast<int32_t>(le32(b.data() + 8));
    return DibSize{w, h < 0 ? -h : h};
}

// The most bytes a DIB's header, palette and masks take.
constexpr uint64_t kDibHeadBound = 124 + 1024 + 16;

// The most bytes a DIB's rows of that size can take: 32-bit rows (run-length
// data takes at most 2 bytes a pixel and 2 a row) and, for an icon, the
// mask's rows.
uint64_t dibRowsBound(DibSize s) {
    const auto w = static_cast<uint64_t>(std::clamp<int64_t>(s.w, 0, kMaxPictureSide));
    const auto h = static_cast<uint64_t>(std::clamp<int64_t>(s.h, 0, 2 * kMaxPictureSide));
    return (4 * w + 4 + w / 8 + 4) * h;
}

// Hands on the file up to `end`, refused when it leaves more than stray
// bytes beside the `needed` ones.
Verdict copyPrefix(Copier& out, uint64_t end, uint64_t needed) {
    if (end > needed + kMaxStrayBytes) return Verdict::Padded;
    out.copy(0, end);
    return done(out);
}

Verdict copyBmp(Copier& out) {
    std::array<uint8_t, 14> head{};
    const auto size = dibSize(out.in(), 14);
    if (!out.in().get(0, head.data(), head.size()) || !size) {
        out.copy(0, 64);  // cut short: the check refuses it
        return done(out);
    }
    if (!pictureSizeAllowed(size->w, size->h)) return refusedSize(size->w, size->h);
    // The rows start where the file header says, after the palette.
    const uint64_t rows = dibRowsBound(*size), before = 14 + kDibHeadBound;
    return copyPrefix(out, std::max<uint64_t>(le32(head.data() + 10), before) + rows,
                      before + rows);
}

// ICO: the directory and every entry's data, wherever it lies; a PNG entry
// only as far as the header check looks.
Verdict copyIco(Copier& out) {
    PictureReader& in = out.in();
    std::array<uint8_t, 6> head{};
    if (!in.get(0, head.data(), head.size())) {
        out.copy(0, head.size());
        return done(out);
    }
    const uint32_t count = le16(head.data() + 4);
    uint64_t end = 6 + 16 * uint64_t{count}, needed = end;
    for (uint32_t i = 0; i < count; ++i) {
        std::array<uint8_t, 16> entry{};
        if (!in.get(6 + 16 * uint64_t{i}, entry.data(), entry.size())) break;
        const uint64_t at = le32(entry.data() + 12);
        std::array<uint8_t, 8> magic{};
        if (!in.getOnce(at, magic.data(), magic.size())) continue;
        const bool png = std::memcmp(magic.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
        const auto size = png ? std::nullopt : dibSize(in, at);
        const uint64_t bound = size ? kDibHeadBound + dibRowsBound(*size) : 64;
        end = std::max(end, at + bound);
        needed += bound;
    }
    return copyPrefix(out, end, needed);
}

}  // namespace

PictureHeader::Verdict copyPicture(const PictureBytes& bytes, const PictureSink& sink) {
    const std::optional<PictureFormat> format = pictureFormatOf(bytes);
    if (!format) return Verdict::UnknownFormat;
    PictureReader in(bytes);
    Copier out(in, sink);
    switch (*format) {
        case PictureFormat::Bmp:
            return copyBmp(out);
        case PictureFormat::Jpeg:
            return copyJpeg(out);
        case PictureFormat::Gif:
            return copyGif(out);
        case PictureFormat::Png:
            return copyPng(out);
        case PictureFormat::Ico:
            return copyIco(out);
    }
    return Verdict::UnknownFormat;
}

}  // namespace platform
