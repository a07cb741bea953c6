#pragma once
// Which file a descriptor stands for, and the files a write must leave alone.
#include <sys/types.h>

#include <optional>
#include <vector>

namespace platform {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Files that must not be written or replaced (a file being read or written
// by other means meanwhile), whatever name or link a write reaches them by.
using ProtectedFiles = std::vector<FileIdentity>;

// The file open at descriptor `fd`; nullopt when it is not open.
std::optional<FileIdentity> identityOfDescriptor(int fd);

}  // namespace platform
