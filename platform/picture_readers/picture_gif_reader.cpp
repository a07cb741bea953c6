// GIF: the screen and the first frame are judged and handed on; the loader
// passes over stray bytes between blocks and takes the last graphic control
// extension before a frame; the other extensions (a loop count, comments)
// change nothing in the first frame's pixels and are walked as the loader
// walks them, not handed on.
#include <array>
#include <optional>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kGif = PictureFormat::Gif;

uint64_t colourTable(uint8_t flags) {
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

// Walks data sub-blocks, `limit` bytes at most, handing them on when
// `keep`; the bytes walked, or nullopt when the file ends first (what it
// held is handed on).
std::optional<uint64_t> walkSubBlocks(PictureStream& in, bool keep, uint64_t limit) {
    uint64_t walked = 0;
    for (;;) {
        const uint8_t* n = in.look(1);
        if (!n) return std::nullopt;
        const uint8_t length = *n;
        if (!keep) {
            in.skip(1 + uint64_t{length});
        } else {
            in.keep(1);
            if (in.keepRun(length) < length) return std::nullopt;
        }
        walked += 1 + uint64_t{length};
        if (length == 0 || walked > limit) return walked;
    }
}

}  // namespace

PictureHeader readGif(PictureStream& in) {
    const uint8_t* head = in.look(13);
    if (!head) {
        in.keepRun(13);  // cut short: the decoder refuses it
        return broken(kGif);
    }
    const PictureHeader screen = judgedSize(kGif, le16(head + 6), le16(head + 8));
    if (screen.verdict != PictureHeader::Verdict::Fits) return screen;
    const uint64_t table = colourTable(head[10]);
    in.keep(13);
    if (in.keepRun(table) < table) return ended(in, screen);
    // The control extension in the one form every decoder reads alike.
    std::optional<std::array<uint8_t, 8>> control;
    uint64_t extensions = 0, stray = 0;
    auto putControl = [&] {
        if (control) in.put(control->data(), control->size());
    };
    for (;;) {
        const uint8_t* kind = in.look(1);
        if (!kind || *kind == 0x3B) {
            putControl();
            if (kind) in.put({0x3B});
            return ended(in, screen);
        }
        if (*kind == 0x21) {
            const uint8_t* ext = in.look(3);
            if (!ext) return ended(in, screen);
            // The loader reads the first sub-block of a control or
            // application extension whatever its length, an empty one too,
            // and the sub-blocks after it up to an empty one. A control
            // extension goes on rebuilt from the first four bytes of its
            // first sub-block; a shorter one, whose missing bytes the loader
            // takes from whatever it read before, is dropped.
            const bool isControl = ext[1] == 0xF9;
            const uint64_t first = isControl || ext[1] == 0xFF ? 1 + uint64_t{ext[2]} : 0;
            if (isControl) control.reset();
            if (const uint8_t* block = isControl && ext[2] >= 4 ? in.look(7) : nullptr) {
                control = std::array<uint8_t, 8>{0x21,     0xF9,     4,        block[3],
                                                 block[4], block[5], block[6], 0};
            }
            in.skip(2 + first);
            const auto walked = walkSubBlocks(in, false, kMaxGifExtensionBytes);
            if (!walked) return ended(in, screen);
            extensions += *walked + 2 + first;
            if (extensions > kMaxGifExtensionBytes) return padded(kGif);
        } else if (*kind == 0x2C) {
            const uint8_t* d = in.look(10);
            if (!d) {
                putControl();
                in.keepRun(10);
                return ended(in, screen);
            }
            const int64_t w = le16(d + 5), h = le16(d + 7);
            // A decoder holds each frame whole first: its extent (its offset
            // plus its size) must be allowed too.
            const int64_t right = le16(d + 1) + w, bottom = le16(d + 3) + h;
            if (right > kMaxPictureSide || bottom > kMaxPictureSide ||
                right * bottom > kMaxPicturePixels)
                return {PictureHeader::Verdict::TooLarge, kGif, right, bottom};
            const uint64_t local = colourTable(d[9]);
            putControl();
            in.keep(10);
            // LZW codes are 12 bits at most, and a clear code may come with
            // every pixel: 3 bytes a pixel, and sub-block lengths.
            const uint64_t bound = 4 * uint64_t(w) * uint64_t(h) + kMaxStrayBytes;
            if (in.keepRun(local + 1) < local + 1) return ended(in, screen);  // and the code size
            const auto data = walkSubBlocks(in, true, bound);
            if (!data) return ended(in, screen);  // cut inside the frame: handed on as it is
            if (*data > bound) return padded(kGif);
            in.put({0x3B});
            return ended(in, screen);
        } else {
            // Stray bytes between blocks, counted together over the file.
            if (++stray > kMaxStrayBytes) return padded(kGif);
            in.skip(1);
        }
    }
}

}  // namespace platform
