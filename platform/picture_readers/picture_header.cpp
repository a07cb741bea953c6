#include "platform/picture_readers/picture_header.h"

#include <algorithm>
#include <cstring>

#include "platform/picture_readers/picture_readers.h"

namespace platform {

using Verdict = PictureHeader::Verdict;

PictureHeader judgedSize(PictureFormat format, int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) return broken(format);
    return {pictureSizeAllowed(w, h) ? Verdict::Fits : Verdict::TooLarge, format, w, h};
}

PictureHeader ended(PictureStream& in, PictureHeader h) {
    if (!in.flush() || in.readError()) h.verdict = Verdict::Broken;
    return h;
}

PictureHeader broken(PictureFormat format) {
    return {Verdict::Broken, format};
}

PictureHeader padded(PictureFormat format) {
    return {Verdict::Padded, format};
}

PictureHeader tooMuchData(PictureFormat format) {
    return {Verdict::TooMuchData, format};
}

bool pictureSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

uint64_t pictureDataBound(int64_t width, int64_t height) {
    return 2 * 4 * static_cast<uint64_t>(std::max<int64_t>(width, 0)) *
               static_cast<uint64_t>(std::max<int64_t>(height, 0)) +
           (uint64_t{1} << 20);
}

int jpegScansAllowed(int64_t width, int64_t height) {
    const int64_t pixels = std::max<int64_t>(1, width * height);
    return static_cast<int>(std::min<int64_t>(kMaxJpegScans, kMaxJpegScanCost / pixels));
}

std::optional<PictureFormat> pictureFormatOf(std::span<const uint8_t> b) {
    const size_t n = b.size();
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') return PictureFormat::Bmp;
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureFormat::Jpeg;
    if (n >= 6 &&
        (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (n >= 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (n >= 4 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0) return PictureFormat::Ico;
    return std::nullopt;
}

PictureHeader readPicture(const PictureBytes& bytes, const PictureSink& sink,
                          const std::function<void(PictureFormat)>& found) {
    PictureStream in(bytes, sink);
    const std::span<const uint8_t> first = in.window();
    const std::optional<PictureFormat> format =
        pictureFormatOf(first.subspan(0, std::min<size_t>(first.size(), 8)));
    if (!format) return in.readError() ? broken(PictureFormat::Png) : PictureHeader{};
    if (found) found(*format);
    switch (*format) {
        case PictureFormat::Bmp:
            return readBmp(in);
        case PictureFormat::Jpeg:
            return readJpeg(in);
        case PictureFormat::Gif:
            return readGif(in);
        case PictureFormat::Png:
            return readPng(in);
        case PictureFormat::Ico:
            return readIco(in);
    }
    return {};
}

}  // namespace platform
