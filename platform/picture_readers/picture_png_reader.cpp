// PNG: the signature and IHDR are judged before a byte is handed on; then
// the chunks that make the pixels go on as they are read, ancillary ones
// (a lower-case first letter) other than tRNS are passed over by their
// length unread, so a text chunk costs a seek whatever it claims. Unknown
// critical chunks, and chunks whose type is not four letters, go on for the
// decoder to refuse. The first chunk passed over after a run of IDAT chunks
// goes on as an empty chunk of a type of its own: libpng takes the image data
// from that run alone, so the runs must stay apart in the copy. The walk must
// reach IEND: a file that ends before it is cut short and refused.
// An interlaced PNG's copy is held in memory until it is decoded: its IDAT
// data goes on in chunks of its own size, so that tiny or empty chunks cost
// no memory, each original CRC checked first as libpng checks it.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

namespace {

constexpr PictureFormat kPng = PictureFormat::Png;
// The largest length a PNG chunk may declare.
constexpr uint32_t kMaxPngChunk = 0x7FFFFFFF;
// The most data of one IDAT chunk handed on rebuilt.
constexpr size_t kIdatPiece = 64 * 1024;

uint32_t crcOf(uint32_t crc, const uint8_t* data, size_t n) {
    return static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(n)));
}

void putBE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// The CRC of the type "IDAT" alone.
constexpr uint32_t kTypeCrc = 0x35AF061E;
// Pieces from this length on have their CRC taken once, joined to both.
constexpr size_t kJoinedCrc = 512;

// IDAT data gathered across chunks and handed on in IDAT chunks of its own.
class IdatChunks {
  public:
    explicit IdatChunks(PictureStream& in) : in_(in) { data_.reserve(kIdatPiece); }

    // Reads one IDAT chunk's data, of `length` bytes after its length and
    // type, and its CRC. False when the file ends first. A CRC that does not
    // match goes on as an empty chunk of a wrong CRC, for the decoder to
    // refuse where it would have refused the original.
    bool take(uint32_t length) {
        in_.skip(8);
        open_ = true;
        uint32_t crc = kTypeCrc;
        for (uint64_t left = length; left > 0;) {
            const std::span<const uint8_t> w = in_.window();
            if (w.empty()) return false;
            const size_t n = static_cast<size_t>(
                std::min<uint64_t>({left, w.size(), kIdatPiece - data_.size()}));
            // A long piece's CRC is taken once and joined to both chunks'.
            if (n >= kJoinedCrc) {
                const uint32_t piece = crcOf(0, w.data(), n);
                crc = static_cast<uint32_t>(crc32_combine(crc, piece, static_cast<z_off_t>(n)));
                dataCrc_ =
                    static_cast<uint32_t>(crc32_combine(dataCrc_, piece, static_cast<z_off_t>(n)));
            } else {
                crc = crcOf(crc, w.data(), n);
                dataCrc_ = crcOf(dataCrc_, w.data(), n);
            }
            data_.insert(data_.end(), w.data(), w.data() + n);
            in_.skip(n);
            left -= n;
            if (data_.size() == kIdatPiece) {
                emit();
                put_ = true;
            }
        }
        const uint8_t* stored = in_.look(4);
        if (!stored) return false;
        const bool sound = be32(stored) == crc;
        in_.skip(4);
        if (!sound) {
            close();
            emit(~kTypeCrc);
        }
        return true;
    }
    // Hands on what was gathered before the next chunk of another type: at
    // least one chunk for a run of IDAT chunks, empty if they were.
    void close() {
        if (open_ && (!data_.empty() || !put_)) emit();
        open_ = put_ = false;
    }

  private:
    // Hands on the data gathered as one chunk, with its CRC or `crc`.
    void emit(std::optional<uint32_t> crc = std::nullopt) {
        uint8_t head[8] = {0, 0, 0, 0, 'I', 'D', 'A', 'T'}, tail[4];
        putBE32(head, static_cast<uint32_t>(data_.size()));
        putBE32(tail, crc ? *crc : dataCrc_);
        in_.put(head, 8);
        in_.put(data_.data(), data_.size());
        in_.put(tail, 4);
        data_.clear();
        dataCrc_ = kTypeCrc;
    }

    PictureStream& in_;
    std::vector<uint8_t> data_;
    uint32_t dataCrc_ = kTypeCrc;  // of the type and data_
    bool open_ = false;            // IDAT chunks were read since the last other chunk
    bool put_ = false;             // and some of their data went on
};

// libpng refuses a chunk type that is not four ASCII letters, except where
// its progressive reader meets it right after the image data; it goes on.
bool lettersOnly(const uint8_t* type) {
    return std::all_of(type, type + 4, [](uint8_t c) {
        const int upper = c & ~0x20;
        return upper >= 'A' && upper <= 'Z';
    });
}

// Hands on an empty ancillary chunk of a type libpng does not know, which it
// passes over: it ends a run of IDAT chunks where a passed-over chunk did.
void putRunEnd(PictureStream& in) {
    uint8_t chunk[12] = {0, 0, 0, 0, 'e', 'n', 'D', 's'};
    putBE32(chunk + 8, crcOf(0, chunk + 4, 4));
    in.put(chunk, sizeof chunk);
}

}  // namespace

PictureHeader readPng(PictureStream& in) {
    constexpr size_t kStart = 8 + 8 + 13 + 4;  // signature, IHDR's length, type, data, CRC
    const uint8_t* start = in.look(kStart);
    if (!start || be32(start + 8) != 13 || std::memcmp(start + 12, "IHDR", 4) != 0)
        return broken(kPng);
    const PictureHeader size = judgedSize(kPng, be32(start + 16), be32(start + 20));
    if (size.verdict != PictureHeader::Verdict::Fits) return size;
    const bool interlaced = start[28] != 0;
    const uint64_t bound = pictureDataBound(size.width, size.height);
    in.keep(kStart);
    std::optional<IdatChunks> rebuilt;
    if (interlaced) rebuilt.emplace(in);
    uint64_t kept = 0;
    uint32_t passed = 0;
    bool afterIdat = false;  // the last chunk handed on was an IDAT
    for (;;) {
        const uint8_t* head = in.look(8);
        if (!head) return broken(kPng);  // ends before IEND
        const uint32_t length = be32(head);
        if (length > kMaxPngChunk) return broken(kPng);
        const uint64_t rest = uint64_t{length} + 4;  // data, CRC
        const char* type = reinterpret_cast<const char*>(head + 4);
        const bool iend = std::memcmp(type, "IEND", 4) == 0;
        const bool idat = std::memcmp(type, "IDAT", 4) == 0;
        if ((type[0] & 0x20) == 0 || std::memcmp(type, "tRNS", 4) == 0 || !lettersOnly(head + 4)) {
            // IDAT data counts without its framing; any other chunk whole.
            kept += idat ? length : 8 + rest;
            if (kept > bound) return tooMuchData(kPng);
            if (rebuilt && idat) {
                if (!rebuilt->take(length)) return broken(kPng);
            } else {
                if (rebuilt) rebuilt->close();
                in.keep(8);
                if (in.keepRun(rest) < rest) return broken(kPng);
            }
            afterIdat = idat;
        } else {
            if (++passed > kMaxSkippedParts) return padded(kPng);
            in.skip(8 + rest);
            if (afterIdat) {
                if (rebuilt) rebuilt->close();
                putRunEnd(in);
                afterIdat = false;
            }
        }
        if (in.failed() || iend) return ended(in, size);
    }
}

}  // namespace platform
