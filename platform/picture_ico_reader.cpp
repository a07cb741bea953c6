// ICO: the decoder takes one entry, the largest by the sizes the directory
// gives (the later one on a tie), passing over compressed ones, PNG entries
// among them. Only that entry is handed on, in an ICO rebuilt to hold it
// alone, its data judged as it is read; the other entries' data is passed
// over unread.
#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <vector>

#include "platform/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kIco = PictureFormat::Ico;

struct Entry {
    std::array<uint8_t, 16> bytes;
    uint32_t score = 0;  // width times height, 0 in the directory meaning 256
    uint64_t at = 0;
};

// The bytes the decoder reads of a DIB entry: its header, a palette of its
// depth's colours, its colour rows and its mask's rows; at most the bound
// of a DIB of its size.
uint64_t dibBytes(const uint8_t* header, DibSize size) {
    const uint64_t bound = kDibHeadBound + dibRowsBound(size);
    const uint32_t headerSize = le32(header);
    if (headerSize < 40) return bound;
    const uint64_t depth = le16(header + 14), w = uint64_t(size.w), h = uint64_t(size.h) / 2;
    const uint64_t palette = depth <= 8 ? uint64_t{4} << depth : 0;
    const uint64_t rows = (w * std::min<uint64_t>(depth, 32) + 31) / 32 * 4 + (w + 31) / 32 * 4;
    return std::min(bound, headerSize + palette + rows * h);
}

}  // namespace

PictureHeader readIco(PictureStream& in) {
    const uint8_t* head = in.look(6);
    if (!head) return broken(kIco);
    const uint32_t count = le16(head + 4);
    in.skip(6);
    std::vector<Entry> entries(count);
    for (Entry& e : entries) {
        const uint8_t* d = in.look(16);
        if (!d) return broken(kIco);
        std::memcpy(e.bytes.data(), d, 16);
        e.score = (d[0] ? d[0] : 256u) * (d[1] ? d[1] : 256u);
        e.at = le32(d + 12);
        in.skip(16);
    }
    std::vector<uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return entries[a].score > entries[b].score ||
               (entries[a].score == entries[b].score && a > b);
    });
    for (const uint32_t i : order) {
        Entry& e = entries[i];
        in.seek(e.at);
        const uint8_t* d = in.look(24);
        // A PNG entry is judged by its IHDR's size, then passed over as the
        // decoder passes it over.
        if (d && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) {
            const PictureHeader png = judgedSize(kIco, be32(d + 16), be32(d + 20));
            if (png.verdict == PictureHeader::Verdict::TooLarge) return png;
            continue;
        }
        // Data missing, or compressed (the decoder reads the compression
        // field of any header there).
        if (!d || le32(d + 16) != 0) continue;
        auto size = dibSize(d);
        if (!size || size->w <= 0 || size->h <= 0) continue;
        const DibSize whole = *size;
        size->h = (size->h + 1) / 2;  // the colour rows and the mask's rows
        const PictureHeader judged = judgedSize(kIco, size->w, size->h);
        if (judged.verdict != PictureHeader::Verdict::Fits) return judged;
        const uint64_t bytes = dibBytes(d, whole);
        in.put({0, 0, 1, 0, 1, 0});
        e.bytes[12] = 22, e.bytes[13] = e.bytes[14] = e.bytes[15] = 0;  // the data follows
        in.put(e.bytes.data(), e.bytes.size());
        in.keepRun(bytes);
        return ended(in, judged);
    }
    return broken(kIco);
}

}  // namespace platform
