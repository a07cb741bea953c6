#include "platform/writing/file_replace.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/writing/temporary_file.h"
#include "platform/files/unique_fd.h"
#include "platform/writing/unmapped_owner.h"
#include "platform/writing/write_in_place.h"
#include "platform/writing/write_path.h"

namespace platform {

namespace {

// A new file: the umask or the folder's default ACL decides, as for any.
constexpr mode_t kNewFile = 0666;

constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr std::string_view kUserPrefix = "user.";
// A value that grows between asking its size and reading it is asked again.
constexpr int kSizeAttempts = 4;

// Reads what `read(buffer, size)` gives into `out`, asking the size first
// (as the xattr calls answer a size of 0); false with errno on failure. An
// empty value is read by that answer: a read into no room would only ask
// the size again, and a value set meanwhile would come back as that many
// zero bytes.
template <class Read>
bool readSized(std::vector<char>& out, Read read) {
    for (int attempt = 0; attempt < kSizeAttempts; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        out.resize(static_cast<size_t>(size));
        if (size == 0) return true;
        const ssize_t got = read(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
    errno = ERANGE;
    return false;
}

// No such attribute, or a file system that keeps none.
bool absent(int error) {
    return error == ENODATA || error == EOPNOTSUPP;
}

// Gives the file open at `to` the kept attributes of the one open at `from`:
// each `user.*` attribute this process may read, and the access ACL, which
// `to` then has exactly when `from` has one (an ACL `to` inherited from its
// folder goes). A `user.*` attribute that cannot be read (a file without read
// permission) is left behind; an ACL that cannot be kept, or an attribute
// that cannot be set, fails with the system's reason. `security.*` and
// `trusted.*` are the system's to give, as to any new file. `from` must not
// be an O_PATH descriptor.
WriteResult copyKeptAttributes(int from, int to) {
    std::vector<char> names;
    const bool listed = readSized(names, [&](char* buffer, size_t size) {
        return calls("flistxattr", "", [&] { return ::flistxattr(from, buffer, size); });
    });
    if (!listed && !absent(errno)) return WriteResult::failed(errno);
    std::vector<char> value;
    const auto readValue = [&](const char* name) {
        return readSized(value, [&](char* buffer, size_t size) {
            return calls("fgetxattr", name, [&] { return ::fgetxattr(from, name, buffer, size); });
        });
    };
    const auto setValue = [&](const char* name) {
        return calls("fsetxattr", name,
                     [&] { return ::fsetxattr(to, name, value.data(), value.size(), 0); }) == 0;
    };
    // The ACL first: one the new file inherited from its folder takes room
    // the attributes may need (ext4 keeps them all in the inode's little
    // space, and gave a false ENOSPC). Asked by name rather than taken from
    // the list: the ACL must be kept whatever the list held, and removed
    // where there is none to keep.
    if (readValue(kAccessAcl)) {
        if (!setValue(kAccessAcl)) return WriteResult::failed(errno);
    } else {
        if (!absent(errno)) return WriteResult::failed(errno);
        const bool removed =
            calls("fremovexattr", kAccessAcl, [&] { return ::fremovexattr(to, kAccessAcl); }) == 0;
        if (!removed && !absent(errno)) return WriteResult::failed(errno);
    }
    // The list is names, each ended by a NUL; the last one surely.
    if (!names.empty() && names.back() != '\0') names.push_back('\0');
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        if (std::string_view(name).substr(0, kUserPrefix.size()) != kUserPrefix) continue;
        if (!readValue(name)) {
            // Not readable by this user, or removed meanwhile: left behind.
            if (errno == EACCES || errno == EPERM || absent(errno)) continue;
            return WriteResult::failed(errno);
        }
        if (!setValue(name)) return WriteResult::failed(errno);
    }
    return {};
}

constexpr char kTakenOver[] = "another file took its place while it was saved";
constexpr char kTemporaryMoved[] =
    "its temporary file was moved away or removed by someone else before it took the name";
constexpr char kTooLargeInMemory[] =
    "it can only be written in place, and its new content, made in memory first, would be "
    "larger than 64 MiB";

// The file to replace opened anew for its attributes (see openLookedAt):
// for reading, or, when this user may not read it, for writing, which still
// reads its ACL. Where the proc file system is missing, whether this process
// may write it was not asked: opening it for writing asks the system.
WriteResult openOld(const WritePlace& place, UniqueFd& out) {
    const int flags = O_NONBLOCK | O_NOCTTY;
    if (place.noProcFs) {
        UniqueFd writable;
        const WriteResult asked = openLookedAt(place, O_WRONLY | flags, writable);
        if (asked.error() == EACCES) return WriteResult::refused(Refusal::ReadOnly);
        if (!asked) return asked;
    }
    WriteResult opened = openLookedAt(place, O_RDONLY | flags, out);
    if (opened.error() == EACCES) opened = openLookedAt(place, O_WRONLY | flags, out);
    return opened;
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
    const int folder = target.folder.get();
    UniqueFd oldData;
    if (target.file) {
        if (WriteResult opened = openOld(target, oldData); !opened) return opened;
    }
    TemporaryFile temporary;
    // A file the kernel reached through a link on the proc file system has
    // no folder that names it, and a folder this user may not write holds no
    // temporary: a file she may write is written in place, its new content
    // made in memory first.
    WriteResult started =
        target.noFolder ? WriteResult::failed(EACCES)
                        : makeTemporary(folder, target.file ? kOwnerOnly : kNewFile, temporary);
    const bool inMemory =
        !started && target.file && (started.error() == EACCES || started.error() == EPERM);
    if (inMemory) started = makeInMemory(temporary);
    if (!started) return started;
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
    if (inMemory) {
        if (static_cast<uintmax_t>(made.st_size) > kMaxSavedBytes)
            return WriteResult::failed(kTooLargeInMemory);
        return writeInPlace(target, temporary);
    }
    const FileIdentity saved{made.st_dev, made.st_ino};
    if (target.file) {
        // A new file this process may not give the old one's owner and group
        // (EINVAL: one it cannot name), ACL, attributes or mode would take
        // the old file from its owner: the content goes into the old file.
        WriteResult kept;
        if (!takeOwner(file.get(), made, target.status))
            kept = errno == EINVAL ? WriteResult::failed(EPERM) : WriteResult::failed(errno);
        else
            kept = takeOld(file.get(), target.status, oldData.get());
        if (kept.error() == EPERM) return discard(writeInPlace(target, temporary));
        if (!kept) return discard(kept);
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
