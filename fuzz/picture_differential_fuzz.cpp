// libFuzzer target: the copy a picture's walk hands on shows what the whole
// file shows. For a picture of at most kMostPixels, the copy and the file
// are each decoded twice by the gdk-pixbuf loader of the format the walk
// found, as pictures are decoded; when both decodes of
// each give the same result, the copy must give the file's pixels, or be
// refused where the file is. A walk that refuses the file must name a bound
// (a size, the scans, bytes beside the parts) or find the file one the
// loader refuses too. Files the loader reads wrongly in ways the copy
// deliberately does not follow are passed over (see knownException).
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <jpeglib.h>
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/picture_readers/picture_header.h"
#include "platform/pictures/picture_file.h"
#include "tests/support/picture_walk.h"

namespace {

using platform::PictureFormat;
using Verdict = platform::PictureHeader::Verdict;
using Bytes = std::span<const uint8_t>;

// Larger pictures are not decoded here: four decodes a run must stay quick.
constexpr int64_t kMostPixels = int64_t{1} << 20;
// The piece size of gdk-pixbuf's file decoder, which the copy's loader gets
// too: the BMP loader's result depends on where its pieces end.
constexpr size_t kPiece = 64 * 1024;

// What one decode gave: a picture's size, layout and pixels (the bytes of
// each row that hold pixels), or a refusal.
struct Decoded {
    bool refused = true;
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;
    bool operator==(const Decoded&) const = default;
};

struct DecodeState {
    uint8_t fill = 0;  // what the picture holds before the loader writes it
    bool tooLarge = false;
};

// A picture over kMostPixels is given the size 0 x 0, which every loader
// stops at before it allocates anything.
void sizePrepared(GdkPixbufLoader* loader, gint w, gint h, gpointer state) {
    if (int64_t{w} * h <= kMostPixels) return;
    static_cast<DecodeState*>(state)->tooLarge = true;
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

// Pixels no decode writes differ from one decode to the next: the two
// decodes fill the new picture differently first.
void areaPrepared(GdkPixbufLoader* loader, gpointer state) {
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
    guint length = 0;
    guchar* pixels = pixbuf ? gdk_pixbuf_get_pixels_with_length(pixbuf, &length) : nullptr;
    if (pixels) std::memset(pixels, static_cast<DecodeState*>(state)->fill, length);
}

Decoded pixelsOf(const GdkPixbuf* pixbuf) {
    Decoded out;
    if (!pixbuf) return out;
    out.refused = false;
    out.width = gdk_pixbuf_get_width(pixbuf);
    out.height = gdk_pixbuf_get_height(pixbuf);
    out.channels = gdk_pixbuf_get_n_channels(pixbuf);
    const auto stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    const size_t row = static_cast<size_t>(out.width) * static_cast<size_t>(out.channels);
    const guint8* data = gdk_pixbuf_read_pixels(pixbuf);
    for (int y = 0; y < out.height; ++y)
        out.pixels.insert(out.pixels.end(), data + y * stride, data + y * stride + row);
    return out;
}

// JPEG and GIF go through the library's file decoder, as pictures do: the
// JPEG loader fed in pieces can loop without end on a corrupt scan.
Decoded decodeAsFile(Bytes bytes) {
    const int fd = ::memfd_create("picture", MFD_CLOEXEC);
    if (fd < 0) abort();
    for (size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n <= 0) abort();
        at += static_cast<size_t>(n);
    }
    const std::string name = "/proc/self/fd/" + std::to_string(fd);
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(name.c_str(), nullptr);
    ::close(fd);
    Decoded out = pixelsOf(pixbuf);
    if (pixbuf) g_object_unref(pixbuf);
    return out;
}

// nullopt when the picture is larger than kMostPixels.
std::optional<Decoded> decode(PictureFormat format, Bytes bytes, uint8_t fill) {
    if (format == PictureFormat::Jpeg || format == PictureFormat::Gif) return decodeAsFile(bytes);
    DecodeState state{fill};
    GdkPixbufLoader* loader =
        gdk_pixbuf_loader_new_with_type(platform::loaderName(format), nullptr);
    if (!loader) abort();
    g_signal_connect(loader, "size-prepared", G_CALLBACK(sizePrepared), &state);
    g_signal_connect(loader, "area-prepared", G_CALLBACK(areaPrepared), &state);
    bool ok = true;
    for (size_t at = 0; ok && at < bytes.size(); at += kPiece) {
        const size_t n = std::min(kPiece, bytes.size() - at);
        ok = gdk_pixbuf_loader_write(loader, bytes.data() + at, n, nullptr) != FALSE;
    }
    ok = gdk_pixbuf_loader_close(loader, nullptr) != FALSE && ok;
    const Decoded out = pixelsOf(ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr);
    g_object_unref(loader);
    if (state.tooLarge) return std::nullopt;
    return out;
}

// The result of two decodes when they agree; nullopt when they do not (the
// loader read memory it never wrote) or the picture is too large.
std::optional<Decoded> decodedTwice(PictureFormat format, Bytes bytes) {
    std::optional<Decoded> first = decode(format, bytes, 0x00);
    if (!first) return std::nullopt;
    const std::optional<Decoded> second = decode(format, bytes, 0xFF);
    if (!second || *second != *first) return std::nullopt;
    return first;
}

// A palette, bit-field or run-length BMP whose rows lie past its headers,
// masks and palette: the BMP loader's skip of the gap is wrong (it skips the
// wrong count and reads the gap as rows, or ignores the rows offset), where
// the copy moves the rows up to follow the palette.
bool bmpGapMisread(Bytes f) {
    if (f.size() < 14 + 16) return false;
    const uint32_t headerSize = platform::le32(&f[14]);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || f.size() < 14 + 36)) return false;
    const uint32_t depth = platform::le16(&f[core ? 24 : 28]);
    const uint32_t compression = core ? 0 : platform::le32(&f[30]);
    if (depth > 8 && compression == 0) return false;  // skipped rightly
    uint64_t head = 14 + uint64_t{headerSize};
    if (depth <= 8) {
        const uint32_t used = core ? 0 : platform::le32(&f[46]);
        head += uint64_t{used ? used : 1u << std::min<uint32_t>(depth, 8)} * (core ? 3 : 4);
    } else if (compression == 3 && headerSize == 40) {
        head += 12;  // the masks
    }
    return platform::le32(&f[10]) > head;
}

// The ICO entries in the order the loader tries them, best first, the
// later of equal scores first; an offset above 2^31 - 41 hides the later
// ones.
std::vector<uint64_t> icoEntriesTried(Bytes f) {
    struct Entry {
        uint64_t score, at;
    };
    std::vector<Entry> order;
    const uint32_t count = f.size() < 6 ? 0 : platform::le16(&f[4]);
    for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= f.size(); ++i) {
        const uint8_t* d = &f[6 + 16 * i];
        const uint64_t depth = d[2] == 0 ? 32 : d[2] <= 2 ? 1 : d[2] <= 16 ? 4 : 8;
        const Entry e{(d[0] ? d[0] : 256u) * uint64_t(d[1] ? d[1] : 256u) * depth,
                      platform::le32(d + 12)};
        if (e.at > 0x7FFFFFFFu - 40) break;
        size_t k = 0;
        while (k < order.size() && order[k].score > e.score) ++k;
        order.insert(order.begin() + static_cast<ptrdiff_t>(k), e);
    }
    std::vector<uint64_t> at;
    for (const Entry& e : order) at.push_back(e.at);
    return at;
}

// The offset of the entry the loader shows: the first tried whose header
// has zero at bytes 16-19; nullopt where it refuses the file first.
std::optional<uint64_t> icoEntryShown(Bytes f) {
    for (const uint64_t at : icoEntriesTried(f)) {
        if (at + 40 > f.size()) return std::nullopt;
        if (platform::le32(&f[at + 16]) == 0) return at;
    }
    return std::nullopt;
}

// An ICO whose entry shown is passed by an entry the loader tries first (a
// better score) and passes over (a PNG or compressed entry) that lies after
// it: the loader has read on to that entry's header and takes the rows from
// there, where the copy holds the shown entry alone.
bool icoEntryAfterShownMisread(Bytes f) {
    const std::optional<uint64_t> shown = icoEntryShown(f);
    uint64_t furthestPassed = 0;
    for (const uint64_t at : icoEntriesTried(f)) {
        if (shown && at == *shown) break;
        furthestPassed = std::max(furthestPassed, at);
    }
    return shown && furthestPassed > *shown;
}

// An ICO whose entry shown holds an index past the colours its palette
// gives (none, for a size the loader's arithmetic makes negative): the
// loader reads that colour from memory it never wrote, where the copy
// gives black.
bool icoIndexPastPalette(Bytes f) {
    const std::optional<uint64_t> shown = icoEntryShown(f);
    if (!shown) return false;
    const uint8_t* d = &f[*shown];
    const uint32_t depth = platform::le16(d + 14);
    const auto palette = static_cast<int32_t>(platform::le32(d + 32) * 4u);
    if ((depth != 1 && depth != 4 && depth != 8) || palette == 0 || palette >= (4 << depth))
        return false;
    // A size the loader's arithmetic makes negative gives no colours.
    const uint32_t colours = static_cast<uint32_t>(std::max(palette, 0)) / 4;
    int64_t w = std::abs(int64_t{static_cast<int32_t>(platform::le32(d + 4))});
    int64_t h = std::abs(int64_t{static_cast<int32_t>(platform::le32(d + 8))} / 2);
    w = w ? w : 256, h = h ? h : 256;
    const uint64_t row = (static_cast<uint64_t>(w) * depth + 31) / 32 * 4;
    const uint64_t rows = *shown + 40 + colours * 4;
    for (int64_t y = 0; y < h; ++y)
        for (int64_t x = 0; x < w; ++x) {
            const uint64_t bit = static_cast<uint64_t>(x) * depth;
            const uint64_t at = rows + static_cast<uint64_t>(y) * row + bit / 8;
            if (at >= f.size()) return false;
            const uint32_t index = (f[at] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
            if (index >= colours) return true;
        }
    return false;
}

// Past a run of data sub-blocks from `at`, up to an empty one.
size_t pastSubBlocks(Bytes f, size_t at) {
    while (at < f.size() && f[at] != 0) at += 1 + size_t{f[at]};
    return at + 1;
}

// Past the extension at `at` (its 0x21) as the loader reads it: the first
// sub-block of a control or application extension whatever its length, an
// empty one too, then sub-blocks up to an empty one.
size_t pastExtension(Bytes f, size_t at) {
    if (at + 2 < f.size() && (f[at + 1] == 0xF9 || f[at + 1] == 0xFF))
        return pastSubBlocks(f, at + 3 + size_t{f[at + 2]});
    return pastSubBlocks(f, at + 2);
}

// Where the blocks after the screen and its colour table begin.
size_t gifBlocks(Bytes f) {
    return 13 + ((f[10] & 0x80) ? size_t{3} << ((f[10] & 7) + 1) : 0);
}

// A graphic control extension before the first frame whose first sub-block
// holds fewer than four bytes: the loader takes the missing ones from
// whatever it read before; the copy drops the extension.
bool gifShortControl(Bytes f) {
    if (f.size() < 13) return false;
    for (size_t at = gifBlocks(f); at < f.size() && f[at] != 0x2C && f[at] != 0x3B;) {
        if (f[at] != 0x21) {
            ++at;  // a stray byte, passed over
            continue;
        }
        if (at + 2 >= f.size()) return false;
        if (f[at + 1] == 0xF9 && f[at + 2] <= 3) return true;
        at = pastExtension(f, at);
    }
    return false;
}

// Anything but the trailer after the first frame: the copy holds the first
// frame alone, which is what is shown, while the loader reads the later
// frames too and may refuse the file, or read it otherwise, for them.
bool gifLaterFrames(Bytes f) {
    if (f.size() < 13) return false;
    size_t at = gifBlocks(f);
    while (at < f.size() && f[at] != 0x2C && f[at] != 0x3B)
        at = f[at] == 0x21 ? pastExtension(f, at) : at + 1;
    if (at >= f.size() || f[at] != 0x2C || at + 10 > f.size()) return false;
    const uint8_t packed = f[at + 9];
    at += 10 + ((packed & 0x80) ? size_t{3} << ((packed & 7) + 1) : 0);
    at = pastSubBlocks(f, at + 1);  // past the code size and the image data
    return at < f.size() && f[at] != 0x3B;
}

// A BMP or ICO that declares a header, palette or data offset far past its
// end: the loader would allocate up to there (gigabytes) before it finds the file cut
// short, which a walk of it does not.
bool declaresFarPastEnd(PictureFormat format, Bytes f) {
    const uint64_t far = f.size() + uint64_t{kPiece};
    if (format == PictureFormat::Bmp)
        return (f.size() >= 18 && (platform::le32(&f[10]) > far || platform::le32(&f[14]) > far)) ||
               (f.size() >= 50 && platform::le32(&f[46]) > far);  // colours used
    if (format != PictureFormat::Ico || f.size() < 6) return false;
    const uint32_t count = platform::le16(&f[4]);
    for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= f.size(); ++i)
        if (platform::le32(&f[6 + 16 * i + 12]) + uint64_t{40} > far) return true;
    return false;
}

// A JPEG whose coded data libjpeg finds corrupt and decodes all the same
// (it warns and goes on). How it decodes corrupt blocks depends on how many
// bytes its source holds after each point (its fast decoder runs only while
// enough are left), and the copy leaves out bytes that make no pixels, so
// those blocks may come out otherwise.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf refused;
};

bool jpegDataCorrupt(Bytes f) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->refused, 1);
    };
    errors.manager.output_message = [](j_common_ptr) {};
    std::vector<JSAMPLE> row;
    if (setjmp(errors.refused) != 0) {
        jpeg_destroy_decompress(&info);
        return false;  // refused: the copy must be refused too
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, f.data(), static_cast<unsigned long>(f.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    row.resize(size_t{info.output_width} * static_cast<size_t>(info.output_components));
    while (info.output_scanline < info.output_height) {
        JSAMPROW at = row.data();
        jpeg_read_scanlines(&info, &at, 1);
    }
    jpeg_finish_decompress(&info);
    const bool corrupt = errors.manager.num_warnings > 0;
    jpeg_destroy_decompress(&info);
    return corrupt;
}

// A JPEG whose colour profile segments make the loader write through a
// profile it has freed (and so crash). Before the first scan it reads every
// APP2 segment as a piece of an ICC profile: the first of several pieces
// allocates room for all of them, and any segment it cannot place frees the
// profile but keeps its size, so a later piece is written to no memory. The
// copy holds no APP2 segment.
bool jpegIccWrittenWhenFreed(Bytes f) {
    uint64_t allocated = 0;
    bool profile = false;
    for (size_t at = 2; at + 4 <= f.size();) {
        if (f[at] != 0xFF || f[at + 1] == 0xFF || f[at + 1] == 0x00 || f[at + 1] == 0x01 ||
            (f[at + 1] >= 0xD0 && f[at + 1] <= 0xD7)) {
            ++at;  // bytes between segments, fill, and markers without a length
            continue;
        }
        const uint8_t code = f[at + 1];
        if (code == 0xDA || code == 0xD9 || code == 0xD8 || code < 0xC0) return false;
        const size_t length = platform::be16(&f[at + 2]);
        if (code == 0xE2 && length >= 2) {  // libjpeg keeps no segment of a shorter length
            const uint8_t* d = &f[at + 4];
            const size_t n = std::min(length - 2, f.size() - at - 4);
            bool placed = false;
            if (n >= 16 && std::memcmp(d, "ICC_PROFILE", 12) == 0 && d[12] != 0 && d[12] <= d[13]) {
                const uint64_t chunk = n - 14, offset = uint64_t{d[12] - 1u} * 0xFFEF;
                if (d[13] == 1) {
                    placed = allocated == 0;
                    if (placed) allocated = chunk, profile = true;
                } else {
                    if (allocated == 0) allocated = uint64_t{d[13]} * 0xFFFF, profile = true;
                    placed = offset + chunk <= allocated;
                    if (placed && !profile) return true;
                }
            }
            if (!placed) profile = false;
        }
        at += 2 + std::max<size_t>(length, 2);
    }
    return false;
}

// A PNG whose zlib stream is corrupt: libpng warns and shows the rows it
// decoded before the fault, and how many it decoded depends on where the
// IDAT chunks end around it, which the copy does not keep (it joins an
// interlaced picture's data into chunks of its own size). The target asks
// zlib itself, of the first run of IDAT chunks, which is all libpng reads.
bool pngDataCorrupt(Bytes f) {
    std::vector<uint8_t> data;
    bool inRun = false;
    for (size_t at = 8; at + 12 <= f.size();) {
        const uint64_t length = platform::be32(&f[at]);
        if (length > f.size() - at - 12) break;
        const bool idat = std::memcmp(&f[at + 4], "IDAT", 4) == 0;
        if (inRun && !idat) break;
        inRun = idat;
        if (idat) data.insert(data.end(), &f[at + 8], &f[at + 8] + length);
        at += 12 + length;
    }
    z_stream z{};
    if (data.empty() || inflateInit(&z) != Z_OK) return false;
    std::vector<uint8_t> out(64 * 1024);
    z.next_in = data.data();
    z.avail_in = static_cast<uInt>(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        status = inflate(&z, Z_NO_FLUSH);  // Z_BUF_ERROR: the stream is cut short
    }
    inflateEnd(&z);
    return status == Z_DATA_ERROR;
}

bool knownException(PictureFormat format, Bytes file) {
    switch (format) {
        case PictureFormat::Bmp:
            return bmpGapMisread(file);
        case PictureFormat::Ico:
            return icoEntryAfterShownMisread(file) || icoIndexPastPalette(file);
        case PictureFormat::Gif:
            return gifShortControl(file) || gifLaterFrames(file);
        case PictureFormat::Jpeg:
            return jpegIccWrittenWhenFreed(file) || jpegDataCorrupt(file);
        case PictureFormat::Png:
            return pngDataCorrupt(file);
    }
    return false;
}

void dropLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_log_set_handler("GdkPixbuf", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), dropLogMessage,
                      nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes file(data, size);
    std::vector<uint8_t> copy;
    const platform::PictureHeader h =
        platform::readPicture(kavrel_test::memoryBytes(file), [&copy](const uint8_t* p, size_t n) {
            copy.insert(copy.end(), p, p + n);
            return true;
        });
    switch (h.verdict) {
        case Verdict::UnknownFormat:  // no loader is asked
        case Verdict::TooLarge:       // refused by a named bound
        case Verdict::TooManyScans:
        case Verdict::Padded:
        case Verdict::TooMuchData:
            return 0;
        case Verdict::Broken:
            // A PNG must reach IEND, whatever the loader makes of it; a JPEG
            // or GIF of a size not judged is not decoded here.
            if (h.format != PictureFormat::Bmp && h.format != PictureFormat::Ico) return 0;
            break;
        case Verdict::Fits:
            if (h.width * h.height > kMostPixels) return 0;
            break;
    }
    if (knownException(h.format, file) || declaresFarPastEnd(h.format, file)) return 0;
    const std::optional<Decoded> original = decodedTwice(h.format, file);
    if (!original) return 0;
    // The walk refused, but not by a bound: the loader must refuse the file.
    if (h.verdict == Verdict::Broken) {
        if (!original->refused) abort();
        return 0;
    }
    const std::optional<Decoded> copied = decodedTwice(h.format, copy);
    if (copied && *copied != *original) abort();
    return 0;
}
