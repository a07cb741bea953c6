#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/file_attributes.h"
#include "platform/temporary_file.h"
#include "platform/unique_fd.h"
#include "platform/unmapped_owner.h"
#include "platform/write_in_place.h"
#include "platform/write_path.h"

namespace platform {

namespace {

// A replacing temporary: no one else reads what is written before the old
// file's permissions are given to it.
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
// A new file: the umask or the folder's default ACL decides, as for any.
constexpr mode_t kNewFile = 0666;

constexpr char kTakenOver[] = "another file took its place while it was saved";
constexpr char kTemporaryMoved[] =
    "its temporary file was moved away or removed by someone else before it took the name";

// The file to replace opened anew for its attributes, from what was looked
// at: for reading, or, when this user may not read it, for writing, which
// still reads its ACL.
WriteResult openOld(const WritePlace& place, UniqueFd& out) {
    const int flags = O_NONBLOCK | O_NOCTTY;
    UniqueFd fd(reopen(place.file.get(), O_RDONLY | flags));
    if (!fd && errno == EACCES) fd.reset(reopen(place.file.get(), O_WRONLY | flags));
    if (!fd) return WriteResult::failed(errno);
    out = std::move(fd);
    return {};
}

// Gives the new file `fd` (of status `now`) the old file's owner and group;
// false with errno when it cannot (EPERM or EINVAL: this process may not,
// or cannot name them).
bool takeOwner(int fd, const struct stat& now, const struct stat& old) {
    if (ownerMayBeUnmapped(old)) {
        errno = EINVAL;
        return false;
    }
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return true;
    return calls("fchown", "", [&] { return ::fchown(fd, old.st_uid, old.st_gid); }) == 0;
}

// Gives the new file `fd`, which has the old file's owner and group, the old
// file's kept attributes (read through `oldData`), then its permissions: an
// ACL set moves the mode's, so the mode comes last.
WriteResult takeOld(int fd, const struct stat& old, int oldData) {
    if (WriteResult kept = copyKeptAttributes(oldData, fd); !kept) return kept;
    if (calls("fchmod", "", [&] { return ::fchmod(fd, old.st_mode & 07777); }) != 0)
        return WriteResult::failed(errno);
    return {};
}

// Copies the complete new content from `made` into the old file itself,
// opened anew from what was looked at; it keeps its owner, group, mode, ACL
// and attributes as they are.
WriteResult saveInPlace(const WritePlace& place, int made) {
    UniqueFd into(reopen(place.file.get(), O_WRONLY | O_NOCTTY));
    if (!into && errno == EPERM) return whyNotPermitted(place.file.get());
    if (!into) return WriteResult::failed(errno);
    if (WriteResult copied = overwriteWith(made, into.get()); !copied) return copied;
    if (calls("close", "", [&] { return into.close() ? 0 : -1; }) != 0)
        return WriteResult::failed(errno);
    return {};
}

// A file reached through a link the kernel followed (/proc/PID/fd/N) has no
// folder that names it, to make a temporary in and rename it over: the
// complete content is made in memory, then copied into the file itself.
WriteResult saveWithoutFolder(const WritePlace& place, const std::function<bool(int fd)>& write) {
    const UniqueFd made(
        calls("memfd_create", "", [&] { return ::memfd_create("kavrel-save", MFD_CLOEXEC); }));
    if (!made) return WriteResult::failed(errno);
    errno = 0;
    if (!write(made.get())) return WriteResult::failed(errno);
    return saveInPlace(place, made.get());
}

// Whether `name` in `folder` is still the file `file`: someone who may
// write to the folder could have put something else in its place, and that
// must not take the saved file's name.
WriteResult stillNames(int folder, const std::string& name, const FileIdentity& file) {
    struct stat named {};
    if (calls("fstatat", name,
              [&] { return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW); }) != 0)
        return WriteResult::failed(errno);
    if (FileIdentity{named.st_dev, named.st_ino} != file) return WriteResult::failed(kTakenOver);
    return {};
}

}  // namespace

WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ProtectedFiles& keep) {
    if (!write) return WriteResult::failed(EINVAL);
    WritePlace target;
    if (WriteResult reached = reachForWriting(path, keep, target); !reached) return reached;
    // Its write permission unasked, a read-only file would be replaced.
    if (target.noProcFs) return WriteResult::refused(Refusal::NoProcFs);
    if (target.noFolder) return saveWithoutFolder(target, write);
    const int folder = target.folder.get();
    UniqueFd oldData;
    if (target.file) {
        if (WriteResult opened = openOld(target, oldData); !opened) return opened;
    }
    TemporaryFile temporary;
    if (WriteResult made = makeTemporary(folder, target.file ? kOwnerOnly : kNewFile, temporary);
        !made)
        return made;
    UniqueFd& file = temporary.fd;
    // Takes the failure first, so that its errno is the failure's.
    const auto discard = [&](WriteResult why) {
        unnameTemporary(folder, temporary);
        return why;
    };
    bool written = false;
    errno = 0;
    try {
        written = write(file.get());
    } catch (...) {
        unnameTemporary(folder, temporary);
        throw;
    }
    if (!written) return discard(WriteResult::failed(errno));
    struct stat made {};
    if (calls("fstat", "", [&] { return ::fstat(file.get(), &made); }) != 0)
        return discard(WriteResult::failed(errno));
    const FileIdentity saved{made.st_dev, made.st_ino};
    if (target.file) {
        // A new file this process cannot give the old one's owner would take
        // the old file from its owner: the content goes into the old file.
        if (!takeOwner(file.get(), made, target.status)) {
            if (errno != EPERM && errno != EINVAL) return discard(WriteResult::failed(errno));
            return discard(saveInPlace(target, file.get()));
        }
        if (WriteResult taken = takeOld(file.get(), target.status, oldData.get()); !taken)
            return discard(taken);
    }
    // On disk before it takes a name: a power cut then leaves the old file
    // or the new one, never an empty one, and a save killed before leaves
    // no file behind.
    if (calls("fsync", "", [&] { return ::fsync(file.get()); }) != 0)
        return discard(WriteResult::failed(errno));
    if (WriteResult named = nameTemporary(folder, temporary); !named) return discard(named);
    if (WriteResult same = stillNames(folder, temporary.name, saved); !same) return discard(same);
    // The file stays open through the last look below: an inode no one holds
    // could be freed and its number given to whatever took the name.
    const UniqueFd held(
        calls("fcntl", "", [&] { return ::fcntl(file.get(), F_DUPFD_CLOEXEC, 0); }));
    if (!held) return discard(WriteResult::failed(errno));
    if (calls("close", "", [&] { return file.close() ? 0 : -1; }) != 0)
        return discard(WriteResult::failed(errno));
    const std::string& name = target.name;
    const char* temporaryName = temporary.name.c_str();
    if (calls("renameat", temporaryName,
              [&] { return ::renameat(folder, temporaryName, folder, name.c_str()); }) != 0) {
        // The folder is held and the name was just seen: only another user
        // who may write to the folder takes the temporary away.
        if (errno == ENOENT) return discard(WriteResult::failed(kTemporaryMoved));
        if (errno == EBUSY) return discard(WriteResult::refused(Refusal::MountPoint));
        if (errno == EPERM && target.file) return discard(whyNotPermitted(target.file.get()));
        return discard(WriteResult::failed(errno));
    }
    // The rename lasts once the folder is on disk. Some file systems cannot
    // flush a folder, and one this user may not list cannot be opened for
    // it; the new file is in place either way.
    const UniqueFd listed(calls(
        "openat", ".", [&] { return ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (listed) calls("fsync", "", [&] { return ::fsync(listed.get()); });
    // Between the last look and the rename someone who may write to the
    // folder could still have put another file under the temporary name; no
    // call closes that gap, but then the save did not happen and says so.
    return stillNames(folder, name, saved);
}

}  // namespace platform
