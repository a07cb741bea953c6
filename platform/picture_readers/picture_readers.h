#pragma once
// The walk of each picture format, over one stream that hands on what it
// keeps (see readPicture), and what they share.
#include <cstdint>

#include "platform/picture_readers/picture_header.h"
#include "platform/picture_readers/picture_reader.h"

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

}  // namespace platform
