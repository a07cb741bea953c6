#pragma once
// The walk of each picture format, over one stream that hands on what it
// keeps (see readPicture), and what they share.
#include <cstdint>
#include <optional>

#include "platform/picture_header.h"
#include "platform/picture_reader.h"

namespace platform {

PictureHeader readPng(PictureStream& in);
PictureHeader readGif(PictureStream& in);
PictureHeader readJpeg(PictureStream& in);
PictureHeader readBmp(PictureStream& in);
PictureHeader readIco(PictureStream& in);

// Fits or TooLarge for a declared size, Broken for one not above zero.
PictureHeader judgedSize(PictureFormat format, int64_t w, int64_t h);
// The verdict of a walk that ended: Fits turns Broken when a read failed or
// the sink refused.
PictureHeader ended(PictureStream& in, PictureHeader h);
PictureHeader broken(PictureFormat format);
PictureHeader padded(PictureFormat format);
PictureHeader tooMuchData(PictureFormat format);

// A DIB header's size: 16-bit sizes in the old 12-byte header, signed
// 32-bit ones in every later one (of 16 bytes at least), the height's sign
// the row order. nullopt for another header size.
struct DibSize {
    int64_t w = 0, h = 0;
};
std::optional<DibSize> dibSize(const uint8_t* header);
// The most bytes a DIB's header, masks and palette take.
constexpr uint64_t kDibHeadBound = 124 + 16 + 1024;
// The most bytes a DIB's rows of that size can take: 32-bit rows (run-length
// data takes at most 2 bytes a pixel and 2 a row) and, for an icon, the
// mask's rows.
uint64_t dibRowsBound(DibSize s);

}  // namespace platform
