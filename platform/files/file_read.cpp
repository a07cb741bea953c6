#include "platform/files/file_read.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {

namespace {
constexpr size_t kReadChunk = 64 * 1024;
// The longest piece of a path the system takes at once, without its NUL.
constexpr size_t kLongestPiece = PATH_MAX - 1;

FileBytes failed(int error) {
    return {std::nullopt, false, std::generic_category().message(error == 0 ? EIO : error)};
}

OpenedForReading openFailed(int error) {
    OpenedForReading failure;
    failure.error = error == 0 ? EIO : error;
    return failure;
}
}  // namespace

std::string OpenedForReading::reason() const {
    if (notRegular) return "it is not a regular file";
    return std::generic_category().message(error == 0 ? EIO : error);
}

int openLongPath(const std::string& path, int flags) {
    // A name with a NUL in it would open a shorter name.
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    UniqueFd folder;
    size_t at = 0;
    while (path.size() - at > kLongestPiece) {
        // The longest run of whole names that fits, up to a slash in it.
        const size_t slash = path.rfind('/', at + kLongestPiece - 1);
        if (slash == std::string::npos || slash < at) {
            errno = ENAMETOOLONG;
            return -1;
        }
        const std::string piece = path.substr(at, slash + 1 - at);
        const int base = folder ? folder.get() : AT_FDCWD;
        folder.reset(::openat(base, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!folder) return -1;
        // A run of slashes is one; the rest must stay relative to the folder.
        at = path.find_first_not_of('/', slash);
        if (at == std::string::npos) at = path.size();
    }
    if (!folder) return ::open(path.c_str(), flags | O_CLOEXEC);
    // A path that ends in slashes names the folder itself.
    const std::string rest = at < path.size() ? path.substr(at) : std::string(".");
    return ::openat(folder.get(), rest.c_str(), flags | O_CLOEXEC);
}

OpenedForReading openForReading(const std::string& path, ReadAs as) {
    // Never a controlling terminal. A file read whole is opened without
    // waiting, so that a FIFO or a device is refused rather than waited on.
    const bool whole = as == ReadAs::RegularFile;
    const int flags = O_RDONLY | O_NOCTTY | (whole ? O_NONBLOCK : 0);
    OpenedForReading opened;
    opened.fd.reset(openLongPath(path, flags));
    if (!opened.fd) return openFailed(errno);
    if (::fstat(opened.fd.get(), &opened.status) != 0) return openFailed(errno);
    if (S_ISDIR(opened.status.st_mode)) return openFailed(EISDIR);
    if (whole && !S_ISREG(opened.status.st_mode)) {
        OpenedForReading refused;
        refused.notRegular = true;
        return refused;
    }
    if (whole) {
        const int set = ::fcntl(opened.fd.get(), F_GETFL);
        if (set < 0 || ::fcntl(opened.fd.get(), F_SETFL, set & ~O_NONBLOCK) != 0)
            return openFailed(errno);
    }
    return opened;
}

FileBytes readWholeFile(const std::string& path, uintmax_t limit) {
    const OpenedForReading opened = openForReading(path, ReadAs::RegularFile);
    if (!opened) return {std::nullopt, false, opened.reason()};
    const off_t size = opened.status.st_size;
    if (static_cast<uintmax_t>(size) > limit) return {std::nullopt, true, {}};
    // Read to the end, whatever size the file has by then: one that grew
    // past the limit meanwhile is refused as well.
    std::string content;
    content.reserve(static_cast<size_t>(size));
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t n = ::read(opened.fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(errno);
        if (n == 0) break;
        if (static_cast<uintmax_t>(n) > limit - content.size()) return {std::nullopt, true, {}};
        content.append(chunk, static_cast<size_t>(n));
    }
    return {std::move(content), false, {}};
}

}  // namespace platform
