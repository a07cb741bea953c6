#pragma once
// The one way a file is opened for reading, and reading a whole file at
// once, with the system's reason when it cannot be.
#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files/unique_fd.h"

namespace platform {

// What a file opened for reading may be.
enum class ReadAs {
    // A file read whole (a project, a picture): anything else is refused,
    // without waiting on it.
    RegularFile,
    // Lines read as they come (a script): a regular file, a pipe, a FIFO
    // (waiting for its writer) or a terminal; a folder is refused.
    Stream,
};

struct OpenedForReading {
    UniqueFd fd;              // read-only and blocking; none when refused or failed
    struct stat status {};    // of the file opened
    int error = 0;            // the system's error number when it failed
    bool notRegular = false;  // refused as ReadAs::RegularFile refuses
    explicit operator bool() const { return fd.valid(); }
    // Why it was not opened ("No such file or directory", "it is not a
    // regular file").
    std::string reason() const;
};

// Opens `path` for reading, as `as` says. A terminal never becomes this
// process's controlling terminal. Paths of any length a save reaches are
// reached (see openLongPath).
OpenedForReading openForReading(const std::string& path, ReadAs as);

// Opens `path` with `flags` (O_CLOEXEC added) as open(2) would, whatever its
// length: a path of the system's limit or longer is opened in pieces, each
// folder relative to the last, and the system follows links as it does in a
// whole path. -1 with errno on failure (EINVAL for a path holding a NUL).
int openLongPath(const std::string& path, int flags);

struct FileBytes {
    std::optional<std::string> content;
    bool tooLarge = false;  // it holds more than the limit: nothing is kept
    std::string reason;     // otherwise why it was not read ("No such file or directory")
};

// The bytes of the regular file at `path`, opened as ReadAs::RegularFile, at
// most `limit` of them.
FileBytes readWholeFile(const std::string& path, uintmax_t limit);

}  // namespace platform
