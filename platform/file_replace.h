#pragma once
// Replacing a file whole, as a save does: the new content goes into a fresh
// temporary file beside the old one, nameless where the file system allows
// and reached only through its descriptor, and takes the old file's name only
// once it is complete and on disk. Anyone who may write to the folder cannot
// redirect the writing elsewhere.
#include <functional>
#include <string>

#include "platform/file_identity.h"
#include "platform/replace_hooks.h"
#include "platform/write_result.h"

namespace platform {

// Writes the new content through `write`, given the descriptor of a new
// temporary file in the folder of the file to replace, and renames it over
// that file only when `write` returned true and the file is flushed to disk.
// The path is reached as reachForWriting (platform/write_path.h) reaches it,
// and everything after is done relative to the folder it ends in; a
// symbolic link stays: the file it points to is replaced.
// Replacing a file, the temporary is made for its owner only, and the new
// file takes the old one's owner and group, permissions, access ACL and the
// `user.*` attributes this process may read (see copyKeptAttributes). Where
// this process may not give it that owner and group, the complete content is
// copied into the old file instead, which keeps all of these: not atomic, a
// failure during that copy leaves the file part written. So is a file the
// kernel reached through a link on the proc file system (/proc/PID/fd/N),
// which no folder names: its new content is made in memory first. A new file is made
// as any other (0666 less the umask, or what the folder's default ACL gives).
// Refused before anything is made: whatever reachForWriting refuses (among
// it the files in `keep`), and any file where the proc file system is
// missing, as its write permission cannot then be asked.
// On failure, or when `write` throws (the exception passes on), the temporary
// is removed and the old file stays as it was; the result says why (when
// `write` returned false, what errno then held).
WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ProtectedFiles& keep = {});

}  // namespace platform
