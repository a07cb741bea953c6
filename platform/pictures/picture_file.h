#pragma once
// Reading picture files (BMP, JPEG, GIF, ICO, PNG) into pixel buffers and
// writing buffers as PNG, through gdk-pixbuf.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "platform/drawing/surface.h"
#include "platform/files/file_identity.h"
#include "platform/picture_readers/picture_header.h"
#include "platform/writing/write_result.h"

namespace platform {

// A file's identity and state on disk.
struct PictureFileState {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{}, ctime{};
    static PictureFileState of(const struct stat& st);
    bool operator==(const PictureFileState& o) const;
};

// The picture in the file at `path`; of an animation, the first frame. Pixels
// with alpha below 128 take `transparentAs`. nullopt, with a reason in
// `error` when given, for a path that is not a readable regular file (opened
// as openForReading opens one, platform/files/file_read.h), a file
// that is no BMP, JPEG, GIF, ICO or PNG picture or does not decode, or a
// picture larger than kMaxPictureSide either way or kMaxPicturePixels in all
// (refused from the size its header declares, see readPicture, before
// decoding). The reason names the path, and is the loader's own where the
// loader refused the file.
// The file is walked once, through one descriptor: the bytes readPicture
// judges and hands on go to the loader of the format it found, and no
// other, straight or through a sealed file in memory.
// `read`, when given, takes the state of the file that was read, as its
// descriptor showed it before and after the reading, when the two agree;
// otherwise it is left empty.
std::optional<Surface> loadPictureFile(const std::string& path, Color transparentAs,
                                       std::string* error = nullptr,
                                       std::optional<PictureFileState>* read = nullptr);
// The same for the file open for reading at `file` (as openForReading opens
// a regular file, platform/files/file_read.h), read from its start; `path` names it
// in the reason. The descriptor stays the caller's.
std::optional<Surface> loadOpenedPictureFile(int file, const std::string& path, Color transparentAs,
                                             std::string* error = nullptr,
                                             std::optional<PictureFileState>* read = nullptr);

// The name gdk-pixbuf gives the loader of `format`.
const char* loaderName(PictureFormat format);

// Writes the buffer as an 8-bit RGB PNG file, replacing the file at `path` as
// replaceFile does (platform/writing/file_replace.h). A failure, with nothing
// written and the reason, when the buffer is empty or replaceFile refuses the
// path (a read-only file, a FIFO, a device, a folder, a file in `keep`), or
// when the file cannot be written.
WriteResult writePng(const Surface& surface, const std::string& path,
                     const ProtectedFiles& keep = {});

}  // namespace platform
