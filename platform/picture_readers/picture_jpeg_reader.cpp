// JPEG: read as libjpeg reads it. The frame is judged when met, and every
// scan counted as it comes, so a file of more scans than it may have is
// refused at the first one too many, whatever follows. What the pixels need
// is handed on: the tables, the frame, the scans with their coded data and
// restart markers, and markers the decoder refuses (where it refuses them,
// the walk ends). Of the JFIF (APP0) and Adobe (APP14) segments before the
// first scan, the decoder acts on the last of each: that one is handed on
// before the first scan, cut to its fixed size. Every other APPn segment
// and comment is passed over by its length, unread; none may go on, as
// gdk-pixbuf's reading of ICC profile pieces (APP2) can crash on crafted
// ones (the picture corpus keeps one). The tables' contents and the scans'
// bytes together stay within pictureDataBound.
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

// libjpeg-turbo decodes a baseline MCU by its fast path only while the bytes
// its source holds from there on reach 512 for each block of the MCU (at most
// 10): bytes after the end marker steer how corrupt coded data is read.
constexpr uint64_t kFastDecodeReach = 512 * 10;

// At the end marker: hands it on, then as many zero bytes as the file holds
// after it, up to kFastDecodeReach; libjpeg reads none of them.
void endWithTail(PictureStream& in) {
    in.keep(2);
    uint64_t tail = 0;
    for (std::span<const uint8_t> w = in.window(); tail < kFastDecodeReach && !w.empty();
         w = in.window()) {
        const uint64_t n = std::min<uint64_t>(w.size(), kFastDecodeReach - tail);
        in.skip(n);
        tail += n;
    }
    constexpr std::array<uint8_t, 512> zeros{};
    for (; tail > 0; tail -= std::min<uint64_t>(tail, zeros.size()))
        in.put(zeros.data(), static_cast<size_t>(std::min<uint64_t>(tail, zeros.size())));
}

// The 0xFF bytes at the start of `b`, eight at a time.
size_t leadingFill(std::span<const uint8_t> b) {
    size_t i = 0;
    for (uint64_t word = 0; i + 8 <= b.size(); i += 8) {
        std::memcpy(&word, b.data() + i, 8);
        if (word != ~uint64_t{0}) break;
    }
    while (i < b.size() && b[i] == 0xFF) ++i;
    return i;
}

struct Fill {
    uint64_t kept = 0, skipped = 0;
};

// At an 0xFF: crosses the fill bytes of the run it starts up to its last
// 0xFF, which libjpeg reads as the run. The first kFastDecodeReach of them
// go on as they are, so the bytes after each point stay as many as libjpeg
// counts in the file; the rest are passed over unread.
Fill crossFill(PictureStream& in) {
    Fill fill;
    for (;;) {
        const uint8_t* p = in.look(2);
        if (!p || p[1] != 0xFF) return fill;
        const size_t run = leadingFill(in.window().subspan(1));
        const size_t kept = static_cast<size_t>(
            std::min<uint64_t>(run, kFastDecodeReach - std::min(fill.kept, kFastDecodeReach)));
        in.keep(kept);
        in.skip(run - kept);
        fill.kept += kept;
        fill.skipped += run - kept;
    }
}

// Whether 0xFF `code` ends the bytes before it, as libjpeg reads them.
// Inside a scan every code but 0x00 (a stuffed 0xFF) and the restart
// markers ends the coded data; a code below SOF0 does too, but no length
// follows it there: libjpeg refuses it later, or scans on past it to the
// next marker, so it is walked as coded data. Between segments 0xFF 0x00,
// TEM and the restart markers mark nothing.
bool endsBytes(uint8_t code, bool inScan) {
    const bool restart = code >= 0xD0 && code <= 0xD7;
    if (inScan) return code >= 0xC0 && !restart;
    return code != 0 && code != 0x01 && !restart;
}

// Moves to the next marker's 0xFF, found as libjpeg finds it. The bytes
// before it, at most `within`, are a scan's coded data, handed on, when
// `inScan`, and dropped otherwise; `passed` counts them. Of a run of fill bytes
// what goes on counts as passed, and between segments the rest does too.
Found nextMarker(PictureStream& in, bool inScan, uint64_t within, uint64_t& passed) {
    auto pass = [&](uint64_t n) {
        passed += n;
        if (passed > within) return false;
        inScan ? in.keep(static_cast<size_t>(n)) : in.skip(n);
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
        const Fill fill = crossFill(in);
        passed += fill.kept + (inScan ? 0 : fill.skipped);
        if (passed > within) return Found::TooFar;
        const uint8_t* p = in.look(2);
        if (!p) return Found::End;
        if (endsBytes(p[1], inScan)) return Found::Marker;
        if (!pass(2)) return Found::TooFar;
    }
}

}  // namespace

PictureHeader readJpeg(PictureStream& in) {
    in.keep(2);  // SOI
    std::optional<PictureHeader> frame;
    std::optional<std::array<uint8_t, 18>> jfif;
    std::optional<std::array<uint8_t, 16>> adobe;
    int scans = 0, allowed = kMaxJpegScans;
    // `data` counts the tables' contents and the scans' bytes kept, against
    // `bound` once the frame tells it.
    uint64_t stray = 0, tables = 0, data = 0, bound = pictureDataBound(1, 1);
    uint32_t skipped = 0;
    bool inScan = false;
    auto done = [&] { return frame ? ended(in, *frame) : broken(kJpeg); };
    for (;;) {
        uint64_t passed = 0;
        const Found found =
            nextMarker(in, inScan, inScan ? bound - data : kMaxStrayBytes - stray, passed);
        if (found == Found::TooFar) return inScan ? tooMuchData(kJpeg) : padded(kJpeg);
        if (found == Found::End) return done();
        (inScan ? data : stray) += passed;
        const bool afterScanData = inScan;
        inScan = false;
        const uint8_t code = in.look(2)[1];
        // libjpeg ends at EOI, and refuses a second SOI or a reserved
        // marker here: handed on, for it to refuse.
        if (code == 0xD9) {
            endWithTail(in);
            return done();
        }
        if (code == 0xD8 || code < 0xC0) {
            // A reserved marker met right after coded data is read inside
            // the scan, where restart intervals let libjpeg scan past it.
            // Here a segment stood before it (one passed over, perhaps,
            // after a scan): an empty comment keeps it between segments.
            if (!afterScanData) in.put({0xFF, 0xFE, 0x00, 0x02});
            in.keep(2);
            return done();
        }
        const uint8_t* seg = in.look(4);
        if (!seg) {
            in.keepRun(4);  // cut short: handed on as far as it goes
            return done();
        }
        const uint32_t length = be16(seg + 2);
        if (length < 2) {
            // Of such a segment libjpeg reads the two length bytes and goes
            // on when it is an APPn, COM or DNL segment; any other it refuses.
            if (!isAppOrComment(code) && code != 0xDC) {
                in.keep(4);
                return done();
            }
            if (++skipped > kMaxSkippedParts) return padded(kJpeg);
            in.skip(4);
            if (code == 0xDC) in.put({0xFF, 0xDC, 0, 2});
            continue;
        }
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
        data += length - 2;
        if (isFrameHeader(code) && !frame) {
            const uint8_t* f = in.look(9);
            if (!f || length < 7) return broken(kJpeg);
            frame = judgedSize(kJpeg, be16(f + 7), be16(f + 5));
            if (frame->verdict != PictureHeader::Verdict::Fits) return *frame;
            allowed = jpegScansAllowed(frame->width, frame->height);
            bound = pictureDataBound(frame->width, frame->height);
        }
        if (data > bound) return tooMuchData(kJpeg);
        if (code == 0xDA) {
            // A scan of several components costs the decoder a pass for each.
            const uint8_t* s = in.look(5);
            if (!frame) return done();
            if (!s) {
                in.keepRun(2 + uint64_t{length});  // cut short: the loader refuses it
                return done();
            }
            scans += std::max(1, int{s[4]});
            if (scans > allowed)
                return {PictureHeader::Verdict::TooManyScans, kJpeg, frame->width, frame->height};
            if (jfif) in.put(jfif->data(), jfif->size());
            if (adobe) in.put(adobe->data(), adobe->size());
            jfif.reset();
            adobe.reset();
            inScan = true;
        }
        if (in.keepRun(2 + uint64_t{length}) < 2 + uint64_t{length}) return done();
    }
}

}  // namespace platform
