#pragma once
// What a picture file's one walk concludes (BMP, JPEG, GIF, ICO and PNG):
// the sizes it declares, judged before anything is decoded or allocated, and
// the bytes of it that its decoder needs, handed on as they were judged.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/picture_readers/picture_reader.h"

namespace platform {

// The largest width or height of a picture that is loaded.
constexpr int32_t kMaxPictureSide = 32767;
// The most pixels a loaded picture may have.
constexpr int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
// The most scans a JPEG may have, a scan of several components counting once
// for each. A decoder passes over the whole picture for every scan, even an
// empty one; encoders write about ten, of about fifteen components in all.
constexpr int kMaxJpegScans = 100;
// The most a JPEG's scans may cost the decoder, in component scans times
// pixels: a pass over a large picture costs what many over a small one do.
// 30 component scans at 8192 x 8192: then no JPEG costs more than about
// 1.4 times the largest one in libjpeg's progressive script (14 component
// scans in colour, 24 in CMYK), which still loads.
constexpr int64_t kMaxJpegScanCost = 30LL * 8192 * 8192;
// The stray bytes a file may hold beside its parts, all runs together: real
// files hold at most a few kilobytes of padding or junk between parts.
constexpr uint64_t kMaxStrayBytes = 64 * 1024;
// The most extension bytes a GIF may hold before its first frame: they are
// walked, not decoded.
constexpr uint64_t kMaxGifExtensionBytes = 16 * 1024 * 1024;
// The most parts (PNG chunks, JPEG segments) passed over by their length.
constexpr uint32_t kMaxSkippedParts = 65536;
// The most bytes of a JPEG's tables, frame and scan headers and restart
// intervals together: an encoder writes a few kilobytes (a progressive one
// its Huffman tables before each of about ten scans).
constexpr uint64_t kMaxJpegTableBytes = 64 * 1024;

// The most image data a picture may keep, all its scans and passes
// together: twice its decoded pixels (4 bytes each) and 1 MB. Image data is
// what a PNG's kept chunks hold (an IDAT chunk's contents alone, not its
// length, type and CRC), a JPEG's tables and scan bytes and a BMP's
// run-length rows; no real encoder comes near it (16-bit RGBA PNG rows take
// 8 bytes a pixel and a byte a row, a JPEG at its best quality about 4).
uint64_t pictureDataBound(int64_t width, int64_t height);

// The component scans a JPEG of that size may have: kMaxJpegScans, fewer
// for a picture so large that they would cost more than kMaxJpegScanCost.
int jpegScansAllowed(int64_t width, int64_t height);

// True for 1..kMaxPictureSide a side and at most kMaxPicturePixels in all.
bool pictureSizeAllowed(int64_t width, int64_t height);

enum class PictureFormat { Bmp, Jpeg, Gif, Ico, Png };

// The format told by a file's first bytes (its signature); nullopt for none
// of the five.
std::optional<PictureFormat> pictureFormatOf(std::span<const uint8_t> first);

struct PictureHeader {
    enum class Verdict {
        Fits,           // every declared size is allowed, the parts whole
        TooLarge,       // a declared size is not
        TooManyScans,   // a JPEG with more component scans than
                        // jpegScansAllowed gives
        UnknownFormat,  // not one of the formats, told by the first bytes
        Broken,         // the format's header is cut short or makes no
                        // sense, a PNG ends before IEND, a read failed, or
                        // the sink refused the bytes
        Padded,         // bytes beside the picture's parts run longer than
                        // real files hold
        TooMuchData,    // the image data kept would pass pictureDataBound
    };
    Verdict verdict = Verdict::UnknownFormat;
    PictureFormat format = PictureFormat::Png;  // unless UnknownFormat
    // Fits: the size the decoder will give. TooLarge: the size refused.
    // Read from PNG's IHDR; BMP's info header (a top-down picture's height
    // is negative there); the GIF screen and the first frame's extent (its
    // offset plus its size); the JPEG frame header (SOFn); the ICO entry
    // decoded, a DIB whose height counts both masks.
    int64_t width = 0;
    int64_t height = 0;
};

// Walks the file once and hands `out`, in order, what the decoder of the
// format its first bytes tell needs of it, each part judged as it is read:
// - PNG: the signature, its critical chunks and tRNS up to IEND (an
//   interlaced PNG's IDAT data in IDAT chunks of its own); the other chunks
//   are passed over by their length without being read;
// - GIF: the header, the global colour table, the last graphic control
//   extension before the first frame (rebuilt, see picture_gif_reader.cpp),
//   the first frame and a trailer;
// - JPEG: its tables, frame, scans and restart intervals up to the end of
//   the picture, a run of fill bytes as one 0xFF, the last JFIF and Adobe
//   segments before the first scan cut to their fixed sizes; every other
//   segment is passed over unread;
// - BMP: its headers and palette, then its rows moved up to follow them
//   (the header's offset of the rows rewritten), the gap between unread;
// - ICO: a directory of the one entry the decoder would pick, and its data.
// Once the verdict is not Fits, nothing more is handed on. Fits only when
// the walk ended well (a file cut short is handed on as far as it goes,
// except a PNG, which must reach IEND). `found`, when given, is told the
// format before the first byte is handed on, and never for a file of none.
PictureHeader readPicture(const PictureBytes& in, const PictureSink& out,
                          const std::function<void(PictureFormat)>& found = nullptr);

}  // namespace platform
