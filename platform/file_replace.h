#pragma once
// Replacing a file whole, as a save does: the new content goes into a fresh
// temporary file beside the old one, reached only through its descriptor,
// and takes the old file's name only once it is complete and on disk. Anyone
// who may write to the folder cannot redirect the writing elsewhere.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

namespace platform {

// Which file a name stands for.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The file at `path`, symbolic links followed; nullopt when there is none.
std::optional<FileIdentity> identityOf(const std::string& path);
// The file open at descriptor `fd`; nullopt when it is not open.
std::optional<FileIdentity> identityOfDescriptor(int fd);

enum class Replaceable {
    Yes,         // a regular file this user may write, or no file yet
    ReadOnly,    // no write permission bit at all, or none for this user
    NotRegular,  // a folder, FIFO, device or socket
    Unreachable  // a loop of links, a link that cannot be read, no such folder
};

// Whether replaceFile may replace the file at `path` (the file the links at
// `path` end in), looked at without opening it: a FIFO would block.
Replaceable replaceability(const std::string& path);

// Writes the new content through `write`, given the descriptor of a new
// temporary file in the folder of the file to replace, and renames it over
// that file only when `write` returned true and the file is flushed to disk.
// A symbolic link at `path` stays: the file it points to is replaced. The new
// file keeps the old one's permissions, and its owner and group where this
// process may set them (else it is owned as any new file of this user).
// Refused before anything is made: whatever replaceability() does not allow.
// On failure, or when `write` throws (the exception passes on), the temporary
// is removed and the old file stays as it was.
bool replaceFile(const std::string& path, const std::function<bool(int fd)>& write);

}  // namespace platform
