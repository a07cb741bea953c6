#pragma once
// The temporary file a replacement writes before it takes the old file's
// name: made without a name where the file system can, so that a save killed
// on the way leaves nothing behind, and named only when it is complete.
#include <sys/types.h>

#include <string>

#include "platform/replace_hooks.h"
#include "platform/unique_fd.h"
#include "platform/write_result.h"

namespace platform {

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

// Gives a nameless `temporary` a free name in `folder`, the one it was made
// in; a named one keeps its own.
WriteResult nameTemporary(int folder, TemporaryFile& temporary);

// Removes the temporary's name from `folder`, if it has one: the name itself,
// never what a link put in its place points to.
void unnameTemporary(int folder, TemporaryFile& temporary);

}  // namespace platform
