// ICO: the loader takes one entry, and only that entry is handed on, in an
// ICO rebuilt to hold it alone; the other entries' data is passed over
// unread. The loader ranks the entries by width x height x depth, the
// later of equal ones first, and takes the first whose header has zero at
// bytes 16-19 (passing over PNG and compressed entries); if that header
// lies past the end of the file it refuses the file.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kIco = PictureFormat::Ico;
// The loader reads this much of an entry's header, whatever its size field.
constexpr uint64_t kIconHeader = 40;

struct Entry {
    std::array<uint8_t, 16> bytes;
    uint32_t index = 0;
    uint64_t score = 0;
    int64_t width = 0, height = 0;  // 0 in the directory means 256
    uint32_t at = 0;
};

Entry entryOf(const uint8_t* d, uint32_t index) {
    Entry e{};
    std::memcpy(e.bytes.data(), d, e.bytes.size());
    e.index = index;
    e.width = d[0] ? d[0] : 256;
    e.height = d[1] ? d[1] : 256;
    // The depth from the colour count.
    const uint32_t depth = d[2] == 0 ? 32 : d[2] <= 2 ? 1 : d[2] <= 16 ? 4 : 8;
    e.score = uint64_t(e.width) * uint64_t(e.height) * depth;
    e.at = le32(d + 12);
    return e;
}

// A header's size as the loader reads it: 0 means 256, the sign is the row
// order, and the height counts the mask's rows too.
int64_t iconSide(uint32_t field, bool height) {
    int64_t side = static_cast<int32_t>(field);
    if (height) side /= 2;
    if (side == 0) side = 256;
    return side < 0 ? -side : side;
}

// The bytes of a row of `width` pixels of `depth` bits as the loader reads
// it, padded to 4 bytes; 0 for a depth it refuses.
uint64_t iconRow(uint32_t depth, uint64_t width) {
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return 0;
    return (width * depth + 31) / 32 * 4;
}

// What the loader reads after an entry's header of the directory's size:
// the palette, sized as it sizes it, and the colour and mask rows; or the
// verdict that refuses the entry. The palette of 1, 4 or 8-bit rows goes on
// made up to its full length with black where it gives fewer colours (none,
// for a size the loader's arithmetic makes negative): the loader looks up
// every index a row holds, and one past the colours given would read memory
// it never wrote.
struct IconBody {
    PictureHeader::Verdict verdict = PictureHeader::Verdict::Fits;
    uint64_t palette = 0, black = 0, rows = 0;
};

IconBody iconBody(uint32_t at, int64_t w, int64_t h, std::array<uint8_t, kIconHeader>& header) {
    const uint32_t depth = le16(header.data() + 14);
    const bool indexed = depth <= 8 && iconRow(depth, 1) > 0;
    // In the loader's 32-bit arithmetic.
    auto palette = static_cast<int32_t>(le32(header.data() + 32) * 4u);
    if (palette == 0 && indexed) palette = 4 << depth;
    if (palette > static_cast<int32_t>(1024 + kMaxStrayBytes))
        return {PictureHeader::Verdict::Padded};
    // A negative size moves nothing, as the loader reads the rows after what
    // it read already, unless it makes the end of the header negative,
    // which the loader refuses. Where the entry lies in the rebuilt ICO it
    // goes on as -4 (a count of 2^30 - 1), which does neither.
    if (palette < 0 && int64_t{at} + int64_t{kIconHeader} + palette < 0)
        return {PictureHeader::Verdict::Broken};
    if (palette < 0 && !indexed) std::memcpy(header.data() + 32, "\xFF\xFF\xFF\x3F", 4);
    palette = std::max(palette, 0);
    uint64_t black = 0;
    if (indexed && palette < (4 << depth)) {
        black = static_cast<uint64_t>((4 << depth) - palette);
        const uint32_t colours = 1u << depth;
        for (int i = 0; i < 4; ++i) header[32 + i] = static_cast<uint8_t>(colours >> (8 * i));
    }
    const auto width = static_cast<uint64_t>(w), height = static_cast<uint64_t>(h);
    return {PictureHeader::Verdict::Fits, static_cast<uint64_t>(palette), black,
            (iconRow(depth, width) + iconRow(1, width)) * height};
}

}  // namespace

PictureHeader readIco(PictureStream& in) {
    const uint8_t* head = in.look(6);
    if (!head) return broken(kIco);
    const uint32_t count = le16(head + 4);
    in.skip(6);
    // An offset the loader cannot add its header size to: it passes over
    // that entry and, reading it again in its place, every later one.
    constexpr uint32_t kLastOffset = INT32_MAX - kIconHeader;
    std::vector<Entry> entries;
    bool hidden = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* d = in.look(16);
        if (!d) return broken(kIco);
        hidden = hidden || le32(d + 12) > kLastOffset;
        if (!hidden) entries.push_back(entryOf(d, i));
        in.skip(16);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.score > b.score || (a.score == b.score && a.index > b.index);
    });
    for (Entry& e : entries) {
        in.seek(e.at);
        const uint8_t* d = in.look(kIconHeader);
        if (!d) return broken(kIco);
        if (le32(d + 16) != 0) {
            // A PNG entry passed over has its IHDR's size judged still.
            if (std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) {
                const PictureHeader png = judgedSize(kIco, be32(d + 16), be32(d + 20));
                if (png.verdict == PictureHeader::Verdict::TooLarge) return png;
            }
            continue;
        }
        // The size the header declares is judged; the loader refuses one
        // that is not the directory's, reading no further than the header.
        const int64_t w = iconSide(le32(d + 4), false), h = iconSide(le32(d + 8), true);
        const PictureHeader judged = judgedSize(kIco, w, h);
        if (judged.verdict != PictureHeader::Verdict::Fits) return judged;
        std::array<uint8_t, kIconHeader> header;
        std::memcpy(header.data(), d, header.size());
        IconBody body;
        if (w == e.width && h == e.height) {
            body = iconBody(e.at, w, h, header);
            if (body.verdict != PictureHeader::Verdict::Fits) return {body.verdict, kIco};
        }
        in.put({0, 0, 1, 0, 1, 0});
        e.bytes[12] = 22, e.bytes[13] = e.bytes[14] = e.bytes[15] = 0;  // the data follows
        in.put(e.bytes.data(), e.bytes.size());
        in.put(header.data(), header.size());
        in.skip(kIconHeader);
        if (in.keepRun(body.palette) == body.palette && body.black > 0) {
            static constexpr std::array<uint8_t, 1024> kBlack{};
            in.put(kBlack.data(), body.black);
        }
        in.keepRun(body.rows);
        return ended(in, judged);
    }
    return broken(kIco);
}

}  // namespace platform
