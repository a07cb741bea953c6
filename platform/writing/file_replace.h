#pragma once
// Saving a file, as a project save or a snapshot does: the one entry of the
// write path. The path is walked (platform/writing/write_path.h), the new content is
// made whole in a temporary, and then the file is either replaced whole by
// that temporary or, where that would take it from its owner or no
// temporary can be made beside it, written in place
// (platform/writing/write_in_place.h). Anyone who may write to the folder cannot
// redirect the writing elsewhere.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/files/file_identity.h"
#include "platform/writing/replace_hooks.h"
#include "platform/writing/write_result.h"

namespace platform {

// The most a save writes: what it makes, or keeps aside, in memory, and the
// largest project file.
inline constexpr uintmax_t kMaxSavedBytes = 64u * 1024u * 1024u;

// Writes the new content through `write`, given the descriptor of a new
// temporary file, and saves it at `path` only when `write` returned true.
// The path is reached as reachForWriting (platform/writing/write_path.h) reaches it,
// and everything after is done relative to the folder it ends in; a
// symbolic link stays: the file it points to is saved.
// Replaced whole: the temporary is made in the file's folder, for its owner
// only, takes the old file's owner and group, permissions, access ACL and
// the `user.*` attributes this process may read, is flushed to disk and
// renamed over the old file. Written in place instead: where this process
// may not give the new file that owner and group, or any of the rest fails
// with EPERM (the superuser without CAP_FOWNER), the content goes into the
// old file itself (see writeInPlace), which keeps all of these; where the
// folder holds no temporary (this user may not write it), the same, with the
// content made in memory first, at most kMaxSavedBytes; and so is a file the
// kernel reached through a link on the proc file system (/proc/PID/fd/N),
// which no folder names. A new file is made as
// any other (0666 less the umask, or what the folder's default ACL gives).
// Refused before anything is made: whatever reachForWriting refuses (among
// it the files in `keep`). The old file is opened anew from what was looked
// at (see openLookedAt); where the proc file system is missing, the system
// answers whether it may be written by opening it so.
// On failure, or when `write` throws (the exception passes on), no temporary
// is left and the old file stays as it was, or the reason says what became of
// it; the result says why (when `write` returned false, what errno then held).
WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ProtectedFiles& keep = {});

}  // namespace platform
