#pragma once
// The one way a file is reached for writing, whether it is replaced whole
// (see file_replace.h) or written in place: the path is walked one folder at
// a time through descriptors, every link on the way is read and judged
// before it is followed, and what is found at the end is judged once. No
// name is looked up twice, so no change to the folders meanwhile can take
// the writing elsewhere.
#include <sys/stat.h>

#include <string>

#include "platform/files/file_identity.h"
#include "platform/writing/replace_hooks.h"
#include "platform/files/unique_fd.h"
#include "platform/writing/write_result.h"

namespace platform {

// Where a path leads for writing.
struct WritePlace {
    UniqueFd folder;        // the folder the file is, or is to be, in (O_PATH)
    std::string name;       // its name there
    UniqueFd file;          // the regular file there (O_PATH); none for a new one
    struct stat status {};  // that file's status
    // The proc file system is missing: the file's write permission could not
    // be asked, and the file cannot be reopened from `file`.
    bool noProcFs = false;
    // The file was reached through a link on the proc file system, which the
    // kernel followed: `folder` and `name` are the link's, and no folder holds
    // the file under a name it could be replaced by.
    bool noFolder = false;
};

// Walks `path` from its start (the root or the working folder), opening each
// folder relative to the last with O_PATH | O_NOFOLLOW. A symbolic link,
// wherever it stands, is read and its text walked the same way from the
// folder it lies in, at most 40 of them; in a sticky folder everyone may
// write to (like /tmp) only a link of this user or of the folder's owner is
// followed, the rule the system applies when its link protection is on. A
// link on the proc file system (/proc/PID/root, /proc/PID/fd/N) names the
// kernel's own object, which its text only describes: the kernel follows it,
// and the walk goes on from what it reached. `..` is the folder the file
// system gives. An owner shown as the overflow id of a user namespace that
// does not map every id is no one's: neither this user's nor the folder
// owner's. A file at the end is refused when it is not a regular file, when
// no name leads to it any more, when it is one of `keep` (device and inode),
// when it is another user's (neither this user's nor the folder owner's) in
// such a shared folder, when it has no write bit at all (even for the
// superuser), and when this process may not write it, as the system answers
// through the proc file system's name for its descriptor. Fills `place` as
// far as it got; the result says why the path cannot be written when it
// cannot.
WriteResult reachForWriting(const std::string& path, const ProtectedFiles& keep, WritePlace& place);

// The proc file system's name for descriptor `fd` of this process.
std::string procNameOf(int fd);

// Opens the file `at` (an O_PATH descriptor) anew with `flags`, through the
// proc file system's name for it: the very file looked at, never a name
// again. -1 with errno on failure (ENOENT where the proc file system is
// missing).
int reopen(int at, int flags);

// Why the system refused, with EPERM, to let the regular file open at `file`
// (O_PATH) be written: refused as Unchangeable when it is marked immutable or
// append-only, which only its flags tell; else the bare EPERM.
WriteResult whyNotPermitted(int file);

// Opens the file `place` found anew with `flags` (O_CLOEXEC added) into
// `opened`: through the proc file system's name for what was looked at, or,
// where that is missing, by its name in the folder held, without following a
// link or waiting (O_NOFOLLOW | O_NONBLOCK), and then only when it is the
// file looked at (device and inode). Either way never another file.
WriteResult openLookedAt(const WritePlace& place, int flags,
                         UniqueFd& opened);

// Opens `path` for writing in place (O_WRONLY, blocking), reached as above:
// an existing regular file is opened from what was looked at (a FIFO or a
// device put at its name meanwhile is never opened); where the proc file
// system is missing, by its name in its folder without following a link or
// waiting for a reader, and then only when it is the file looked at. A name
// with no file gets a new one (0666 less the umask), made in the folder
// walked to without following a link or taking a file put there meanwhile
// (then the path is walked again). The descriptor goes into `opened`.
WriteResult openForWriting(const std::string& path, UniqueFd& opened,
                           const ProtectedFiles& keep = {});

}  // namespace platform
