#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/unique_fd.h"

namespace platform {

namespace {
constexpr size_t kReadChunk = 64 * 1024;

FileBytes failed(int error) {
    return {std::nullopt, false, std::generic_category().message(error == 0 ? EIO : error)};
}
}  // namespace

FileBytes readWholeFile(const std::string& path, uintmax_t limit) {
    // A name with a NUL in it would open a shorter name.
    if (path.find('\0') != std::string::npos) return failed(EINVAL);
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return failed(errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return failed(errno);
    if (S_ISDIR(st.st_mode)) return failed(EISDIR);
    if (!S_ISREG(st.st_mode)) return {std::nullopt, false, "it is not a regular file"};
    if (static_cast<uintmax_t>(st.st_size) > limit) return {std::nullopt, true, {}};
    // Read to the end, whatever size the file has by then: one that grew
    // past the limit meanwhile is refused as well.
    std::string content;
    content.reserve(static_cast<size_t>(st.st_size));
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(errno);
        if (n == 0) break;
        if (static_cast<uintmax_t>(n) > limit - content.size()) return {std::nullopt, true, {}};
        content.append(chunk, static_cast<size_t>(n));
    }
    return {std::move(content), false, {}};
}

}  // namespace platform
