#pragma once
// The temporary files of a save: the new content, made whole before it takes
// the old file's name or is copied into it, and the old content kept aside
// while a file is written in place. Made without a name where the file
// system can, so that a save killed on the way leaves nothing behind, and
// named only when complete (or when a failed save leaves it for the user).
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/writing/replace_hooks.h"
#include "platform/files/unique_fd.h"
#include "platform/writing/write_result.h"

namespace platform {

// A temporary that holds what others may not yet read: a replacing one
// before it takes the old file's permissions, or an old content kept aside.
inline constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

struct TemporaryFile {
    UniqueFd fd;       // open for reading and writing
    std::string name;  // its name in the folder; "" while it has none
};

// A new, empty file in the folder open at `folder`, of permissions `mode`
// (less the umask, or as the folder's default ACL gives). Without a name
// where the file system makes such files and the proc file system shows this
// process's descriptors; otherwise under a short hidden name no file there
// had, made with O_EXCL | O_NOFOLLOW, never a file or link someone else put
// there. Fails with the system's reason.
WriteResult makeTemporary(int folder, mode_t mode, TemporaryFile& out);

// A new, empty file in memory (no folder holds it, and it has no name).
WriteResult makeInMemory(TemporaryFile& out);

// Gives a nameless `temporary` a free name in `folder`, the one it was made
// in; a named one keeps its own.
WriteResult nameTemporary(int folder, TemporaryFile& temporary);

// Removes the temporary's name from `folder`, if it has one: the name itself,
// never what a link put in its place points to. One given to another user in
// a sticky folder, which this process may then not remove, is taken back
// first.
void unnameTemporary(int folder, TemporaryFile& temporary);

}  // namespace platform
