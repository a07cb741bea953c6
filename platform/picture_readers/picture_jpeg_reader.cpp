// JPEG: the frame is judged when met, and every scan counted as it comes,
// so a file of more scans than it may have is refused at the first one too
// many, whatever follows. What the pixels need is handed on: the tables,
// the frame, the scans with their coded data and restart markers, and
// markers the decoder refuses. Of the JFIF (APP0) and Adobe (APP14)
// segments before the first scan, the decoder acts on the last of each:
// that one is handed on before the first scan, cut to its fixed size.
// Every other APPn segment and comment is passed over by its length,
// unread.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kJpeg = PictureFormat::Jpeg;

bool isFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isAppOrComment(uint8_t marker) {
    return (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
}

enum class Found { Marker, End, TooFar };

// Moves to the next marker's 0xFF, found as a decoder finds it: fill bytes
// 0xFF are passed over, and 0xFF 0x00, the restart markers and TEM mark
// nothing here. The bytes before it, at most `within`, are handed on when
// `keep` (a scan's coded data) and dropped otherwise; `passed` counts them.
Found nextMarker(PictureStream& in, bool keep, uint64_t within, uint64_t& passed) {
    auto pass = [&](size_t n) {
        passed += n;
        if (passed > within) return false;
        keep ? in.keep(n) : in.skip(n);
        return true;
    };
    for (;;) {
        const std::span<const uint8_t> w = in.window();
        if (w.empty()) return Found::End;
        const void* hit = std::memchr(w.data(), 0xFF, w.size());
        if (!hit) {
            if (!pass(w.size())) return Found::TooFar;
            continue;
        }
        if (!pass(static_cast<size_t>(static_cast<const uint8_t*>(hit) - w.data())))
            return Found::TooFar;
        const uint8_t* p = in.look(2);
        if (!p) return Found::End;
        const uint8_t c = p[1];
        if (c != 0xFF && c != 0 && !(c >= 0xD0 && c <= 0xD7) && c != 0x01) return Found::Marker;
        if (!pass(c == 0xFF ? 1 : 2)) return Found::TooFar;  // a fill byte, or no marker
    }
}

}  // namespace

PictureHeader readJpeg(PictureStream& in) {
    in.keep(2);  // SOI
    std::optional<PictureHeader> frame;
    std::optional<std::array<uint8_t, 18>> jfif;
    std::optional<std::array<uint8_t, 16>> adobe;
    int scans = 0, allowed = kMaxJpegScans;
    uint64_t stray = 0, tables = 0, scanBound = 0;
    uint32_t skipped = 0;
    bool inScan = false;
    auto done = [&] { return frame ? ended(in, *frame) : broken(kJpeg); };
    for (;;) {
        uint64_t passed = 0;
        const Found found =
            nextMarker(in, inScan, inScan ? scanBound : kMaxStrayBytes - stray, passed);
        if (found == Found::TooFar) return padded(kJpeg);
        if (found == Found::End) return done();
        if (!inScan) stray += passed;
        inScan = false;
        const uint8_t code = in.look(2)[1];
        if (code == 0xD9) {
            in.keep(2);
            return done();
        }
        const uint8_t* seg = in.look(4);
        if (code == 0xD8 || !seg || be16(seg + 2) < 2) return done();
        const uint32_t length = be16(seg + 2);
        if (isAppOrComment(code)) {
            // The decoder acts on the last JFIF and Adobe segments before
            // the first scan; the rest carry no pixels.
            const uint8_t* s = in.look(2 + std::min<uint32_t>(length, 16));
            if (!s) return done();
            if (scans == 0) {
                if (code == 0xE0 && length >= 16 && std::memcmp(s + 4, "JFIF\0", 5) == 0) {
                    jfif.emplace();
                    std::memcpy(jfif->data(), s, 16);
                    (*jfif)[2] = 0, (*jfif)[3] = 16;
                    (*jfif)[16] = (*jfif)[17] = 0;  // no thumbnail
                } else if (code == 0xEE && length >= 14 && std::memcmp(s + 4, "Adobe", 5) == 0) {
                    adobe.emplace();
                    std::memcpy(adobe->data(), s, 16);
                    (*adobe)[2] = 0, (*adobe)[3] = 14;
                }
            }
            if (++skipped > kMaxSkippedParts) return padded(kJpeg);
            in.skip(2 + uint64_t{length});
            continue;
        }
        tables += 2 + uint64_t{length};
        if (tables > kMaxJpegTableBytes) return padded(kJpeg);
        if (isFrameHeader(code) && !frame) {
            const uint8_t* f = in.look(9);
            if (!f || length < 7) return broken(kJpeg);
            frame = judgedSize(kJpeg, be16(f + 7), be16(f + 5));
            if (frame->verdict != PictureHeader::Verdict::Fits) return *frame;
            allowed = jpegScansAllowed(frame->width, frame->height);
        }
        if (code == 0xDA) {
            // A scan of several components costs the decoder a pass for each.
            const uint8_t* s = in.look(5);
            if (!frame || !s) return done();
            scans += std::max(1, int{s[4]});
            if (scans > allowed)
                return {PictureHeader::Verdict::TooManyScans, kJpeg, frame->width, frame->height};
            if (jfif) in.put(jfif->data(), jfif->size());
            if (adobe) in.put(adobe->data(), adobe->size());
            jfif.reset();
            adobe.reset();
            // A scan's coded data can take at most about 3.3 bytes a pixel
            // of each of its components (every coefficient at its longest
            // code), twice that with every 0xFF stuffed: bounded at 8.
            const uint64_t pixels = uint64_t(frame->width) * uint64_t(frame->height);
            scanBound =
                8 * std::max<uint64_t>(pixels, 64) * std::max<uint8_t>(s[4], 1) + kMaxStrayBytes;
            inScan = true;
        }
        if (in.keepRun(2 + uint64_t{length}) < 2 + uint64_t{length}) return done();
    }
}

}  // namespace platform
