#pragma once
// Reading picture files (BMP, JPEG, GIF, ICO, PNG) into pixel buffers and
// writing buffers as PNG, through gdk-pixbuf.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/picture_header.h"
#include "platform/surface.h"
#include "platform/write_result.h"

namespace platform {

// The picture in the file at `path`; of an animation, the first frame. Pixels
// with alpha below 128 take `transparentAs`. nullopt, with a reason in
// `error` when given, for a path that is not a readable regular file, a file
// that is no BMP, JPEG, GIF, ICO or PNG picture or does not decode, or a
// picture larger than kMaxPictureSide either way or kMaxPicturePixels in all
// (refused from the size its header declares, see readPictureHeader,
// before decoding).
std::optional<Surface> loadPictureFile(const std::string& path, Color transparentAs,
                                       std::string* error = nullptr);

// Writes the buffer as an 8-bit RGB PNG file, replacing the file at `path` as
// replaceFile does (platform/file_replace.h). A failure, with nothing
// written and the reason, when the buffer is empty or replaceFile refuses the
// path (a read-only file, a FIFO, a device, a folder), or when the file
// cannot be written.
WriteResult writePng(const Surface& surface, const std::string& path);

}  // namespace platform
