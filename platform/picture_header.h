#pragma once
// The size a picture file declares, read from its header bytes before
// anything is decoded or allocated: BMP, JPEG, GIF, ICO and PNG.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/picture_reader.h"

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

// The component scans a JPEG of that size may have: kMaxJpegScans, fewer
// for a picture so large that they would cost more than kMaxJpegScanCost.
int jpegScansAllowed(int64_t width, int64_t height);

// True for 1..kMaxPictureSide a side and at most kMaxPicturePixels in all.
bool pictureSizeAllowed(int64_t width, int64_t height);

enum class PictureFormat { Bmp, Jpeg, Gif, Ico, Png };

// The format told by a file's first bytes (its signature); nullopt for none
// of the five.
std::optional<PictureFormat> pictureFormatOf(const PictureBytes& bytes);

// Bytes held in memory, read as a file's.
PictureBytes memoryBytes(std::span<const uint8_t> bytes);

struct PictureHeader {
    enum class Verdict {
        Fits,           // every declared size is allowed
        TooLarge,       // a declared size is not
        TooManyScans,   // a JPEG with more component scans than
                        // jpegScansAllowed gives
        UnknownFormat,  // not one of the formats, told by the first bytes
        Broken,         // the format's header is cut short or makes no sense,
                        // or a PNG chunk claims more bytes than the file holds
        Padded,         // bytes beside the picture run longer than real
                        // files hold (see copyPicture)
    };
    Verdict verdict = Verdict::UnknownFormat;
    PictureFormat format = PictureFormat::Png;  // unless UnknownFormat
    // Fits: the size the decoder will give. TooLarge: the size refused.
    // Read from PNG's IHDR; BMP's info header (a top-down picture's height
    // is negative there); the GIF screen and every frame's extent (its
    // offset plus its size); the JPEG frame header (SOFn); every ICO entry,
    // a PNG or a DIB whose height counts both masks (Fits: the largest DIB
    // entry, the one decoded).
    int64_t width = 0;
    int64_t height = 0;
    // GIF: the offset just past the first frame's image data, where a copy
    // that holds only the first frame ends (before its trailer); 0 when the
    // file ends before that.
    uint64_t firstFrameEnd = 0;
};

// Reads only headers, directory entries, block and chunk lengths and, of a
// JPEG, its markers: its memory does not depend on the sizes the file
// declares, and its time grows with the file's length at most.
PictureHeader readPictureHeader(const PictureBytes& bytes);
PictureHeader readPictureHeader(std::span<const uint8_t> bytes);
// Through pread on an open file: the descriptor's offset stays.
PictureHeader readPictureHeaderOfFile(int fd);

}  // namespace platform
