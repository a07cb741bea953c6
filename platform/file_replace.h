#pragma once
// Replacing a file whole, as a save does: the new content goes into a fresh
// temporary file beside the old one, nameless where the file system allows
// and reached only through its descriptor, and takes the old file's name only
// once it is complete and on disk. Anyone who may write to the folder cannot
// redirect the writing elsewhere.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/replace_hooks.h"
#include "platform/write_result.h"

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
// The folder is opened once and everything after is done relative to it; a
// symbolic link at `path` stays: the file it points to is replaced (links are
// followed one by one, each only where the system would follow it).
// Replacing a file, the temporary is made for its owner only, and the new
// file takes the old one's owner and group, permissions, access ACL and the
// `user.*` attributes this process may read (see copyKeptAttributes). Where
// this process may not give it that owner and group, the complete content is
// copied into the old file instead, which keeps all of these: not atomic, a
// failure during that copy leaves the file part written. A new file is made
// as any other (0666 less the umask, or what the folder's default ACL gives).
// Refused before anything is made: whatever replaceability() does not allow.
// On failure, or when `write` throws (the exception passes on), the temporary
// is removed and the old file stays as it was; the result says why (when
// `write` returned false, what errno then held). `hooks` are for tests.
WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ReplaceHooks* hooks = nullptr);

}  // namespace platform
