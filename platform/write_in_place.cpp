#include "platform/write_in_place.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fd_write.h"

namespace platform {

constexpr size_t kChunk = 64 * 1024;

WriteResult overwriteWith(int from, int to) {
    struct stat made {};
    if (calls("fstat", "", [&] { return ::fstat(from, &made); }) != 0)
        return WriteResult::failed(errno);
    // Blocks past the old end held for the file without moving that end: no
    // one reading it meanwhile sees it grow.
    if (made.st_size > 0 &&
        calls("fallocate", "",
              [&] { return ::fallocate(to, FALLOC_FL_KEEP_SIZE, 0, made.st_size); }) != 0 &&
        errno != EOPNOTSUPP)
        return WriteResult::failed(errno);
    char buffer[kChunk];
    off_t at = 0;
    for (;;) {
        const ssize_t n =
            calls("pread", "", [&] { return ::pread(from, buffer, sizeof buffer, at); });
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return WriteResult::failed(errno);
        if (n == 0) break;
        if (calls("write", "", [&] { return writeAll(to, buffer, size_t(n)) ? 0 : -1; }) != 0)
            return WriteResult::failed(errno);
        at += n;
    }
    if (calls("ftruncate", "", [&] { return ::ftruncate(to, at); }) != 0 ||
        calls("fsync", "", [&] { return ::fsync(to); }) != 0)
        return WriteResult::failed(errno);
    return {};
}

}  // namespace platform
