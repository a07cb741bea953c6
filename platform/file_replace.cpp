#include "platform/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/file_attributes.h"
#include "platform/temporary_file.h"
#include "platform/unique_fd.h"
#include "platform/write_in_place.h"

namespace platform {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
// A replacing temporary: no one else reads what is written before the old
// file's permissions are given to it.
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
// A new file: the umask or the folder's default ACL decides, as for any.
constexpr mode_t kNewFile = 0666;

constexpr const char* kReadOnly = "it is read-only";
constexpr const char* kNotRegular = "it is not a regular file";
constexpr const char* kTakenOver = "another file took its place while it was saved";

// A path cut where its last name begins: the folder ("" for none) and the
// name, "." when the path ends in a slash so that it names the folder.
struct PathParts {
    std::string folder;
    std::string name;
};

PathParts split(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    // A trailing slash names the folder itself. (Built whole rather than
    // assigned after: GCC 12 misreads that assignment as an overlapping copy.)
    const bool trailing = slash + 1 == path.size();
    return {path.substr(0, slash == 0 ? 1 : slash),
            trailing ? std::string(".") : path.substr(slash + 1)};
}

// The folder at `folder` (relative to the folder open at `base`), held open
// so that no change to the names above it can move the save elsewhere.
UniqueFd openFolder(const HookedCalls& calls, int base, const std::string& folder) {
    const char* name = folder.empty() ? "." : folder.c_str();
    UniqueFd fd(calls("openat", name,
                      [&] { return ::openat(base, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (fd || errno != EACCES) return fd;
    // A folder this user may write to but not list: it still takes the file,
    // only it cannot be flushed.
    fd.reset(calls("openat", name,
                   [&] { return ::openat(base, name, O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    return fd;
}

// Whether the system would follow a link of status `link` in a folder of
// status `folder` for this process: in a folder anyone may write to that
// keeps its files to their owners (sticky, like /tmp), only a link of this
// user or of the folder's owner. We follow links ourselves, so we apply the
// rule ourselves; otherwise another user's link in /tmp could aim a save at
// any file.
bool mayFollow(const struct stat& folder, const struct stat& link) {
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// What the link open at `link` (O_PATH | O_NOFOLLOW) holds; nullopt with errno.
std::optional<std::string> readLink(const HookedCalls& calls, int link) {
    char buffer[PATH_MAX];
    const ssize_t n =
        calls("readlinkat", "", [&] { return ::readlinkat(link, "", buffer, sizeof buffer); });
    if (n < 0) return std::nullopt;
    if (static_cast<size_t>(n) == sizeof buffer) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    return std::string(buffer, static_cast<size_t>(n));
}

// The file a save at a path replaces, looked at once through descriptors.
struct Target {
    Replaceable verdict = Replaceable::Unreachable;
    int error = ENOENT;  // why it is unreachable
    UniqueFd folder;     // the folder it is, or is to be, in
    std::string name;    // its name there
    UniqueFd file;       // O_PATH, when there is a file to replace
    struct stat old {};  // that file's status
};

// Opens the folder of `path` once, then looks at the name in it. A link
// there is followed link by link (read, then its folder opened relative to
// the one it lies in), so that the links stay and the file they end in (which
// need not exist yet) is the one replaced.
Target examine(const std::string& path, const HookedCalls& calls) {
    Target t;
    if (path.empty()) return t;
    if (path.find('\0') != std::string::npos) {
        t.error = EINVAL;
        return t;
    }
    PathParts at = split(path);
    t.folder = openFolder(calls, AT_FDCWD, at.folder);
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        if (!t.folder) {
            t.error = errno;
            return t;
        }
        t.name = std::move(at.name);
        const char* name = t.name.c_str();
        UniqueFd node(calls("openat", name, [&] {
            return ::openat(t.folder.get(), name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
        }));
        struct stat st {};
        if (!node || calls("fstat", name, [&] { return ::fstat(node.get(), &st); }) != 0) {
            t.error = errno;
            if (errno == ENOENT) t.verdict = Replaceable::Yes;
            return t;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (!S_ISREG(st.st_mode)) {
                t.verdict = Replaceable::NotRegular;
                return t;
            }
            // No write bit at all: read-only even for the superuser, whom the
            // check of the permissions lets write anything.
            if ((st.st_mode & kWriteBits) == 0 ||
                calls("faccessat", name,
                      [&] { return ::faccessat(node.get(), "", W_OK, AT_EMPTY_PATH); }) != 0) {
                t.verdict = Replaceable::ReadOnly;
                return t;
            }
            t.verdict = Replaceable::Yes;
            t.error = 0;
            t.file = std::move(node);
            t.old = st;
            return t;
        }
        struct stat folder {};
        if (calls("fstat", "", [&] { return ::fstat(t.folder.get(), &folder); }) != 0) {
            t.error = errno;
            return t;
        }
        if (!mayFollow(folder, st)) {
            t.error = EACCES;
            return t;
        }
        const std::optional<std::string> next = readLink(calls, node.get());
        if (!next) {
            t.error = errno;
            return t;
        }
        at = split(*next);
        if (!at.folder.empty()) t.folder = openFolder(calls, t.folder.get(), at.folder);
    }
    t.error = ELOOP;
    return t;
}

// The file to replace opened with `access`; O_RDONLY, for its attributes,
// falls back to writing when this user may not read it, which still reads
// its ACL. By its name in the folder held open, then checked to be the file
// looked at.
WriteResult openOld(const HookedCalls& calls, const Target& t, UniqueFd& out,
                    int access = O_RDONLY) {
    const auto open = [&](int mode) {
        return UniqueFd(calls("openat", t.name, [&] {
            return ::openat(t.folder.get(), t.name.c_str(),
                            mode | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        }));
    };
    UniqueFd fd = open(access);
    if (!fd && errno == EACCES && access == O_RDONLY) fd = open(O_WRONLY);
    struct stat st {};
    if (!fd || calls("fstat", "", [&] { return ::fstat(fd.get(), &st); }) != 0)
        return WriteResult::failed(errno);
    if (st.st_dev != t.old.st_dev || st.st_ino != t.old.st_ino)
        return WriteResult::refused(kTakenOver);
    out = std::move(fd);
    return {};
}

// Gives the new file `fd` (of status `now`) the old file's owner and group;
// false with errno when it cannot (EPERM or EINVAL: this process may not).
bool takeOwner(const HookedCalls& calls, int fd, const struct stat& now, const struct stat& old) {
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return true;
    return calls("fchown", "", [&] { return ::fchown(fd, old.st_uid, old.st_gid); }) == 0;
}

// Gives the new file `fd`, which has the old file's owner and group, the old
// file's kept attributes (read through `oldData`), then its permissions: an
// ACL set moves the mode's, so the mode comes last.
WriteResult takeOld(const HookedCalls& calls, int fd, const struct stat& old, int oldData) {
    if (WriteResult kept = copyKeptAttributes(oldData, fd, calls); !kept) return kept;
    if (calls("fchmod", "", [&] { return ::fchmod(fd, old.st_mode & 07777); }) != 0)
        return WriteResult::failed(errno);
    return {};
}

// Copies the complete new content from `made` into the old file itself,
// which keeps its owner, group, mode, ACL and attributes as they are.
WriteResult saveInPlace(const HookedCalls& calls, const Target& t, int made) {
    UniqueFd into;
    if (WriteResult opened = openOld(calls, t, into, O_WRONLY); !opened) return opened;
    if (WriteResult copied = overwriteWith(calls, made, into.get()); !copied) return copied;
    if (calls("close", "", [&] { return into.close() ? 0 : -1; }) != 0)
        return WriteResult::failed(errno);
    return {};
}

// Whether `name` in `folder` is still the file `file`: someone who may
// write to the folder could have put something else in its place, and that
// must not take the saved file's name.
WriteResult stillNames(const HookedCalls& calls, int folder, const std::string& name,
                       const FileIdentity& file) {
    struct stat named {};
    if (calls("fstatat", name,
              [&] { return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW); }) != 0)
        return WriteResult::failed(errno);
    if (FileIdentity{named.st_dev, named.st_ino} != file) return WriteResult::refused(kTakenOver);
    return {};
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

std::optional<FileIdentity> identityOfDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

Replaceable replaceability(const std::string& path) {
    return examine(path, HookedCalls(nullptr)).verdict;
}

WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ReplaceHooks* hooks) {
    if (!write) return WriteResult::failed(EINVAL);
    const HookedCalls calls(hooks);
    const Target target = examine(path, calls);
    switch (target.verdict) {
        case Replaceable::Yes:
            break;
        case Replaceable::ReadOnly:
            return WriteResult::refused(kReadOnly);
        case Replaceable::NotRegular:
            return WriteResult::refused(kNotRegular);
        case Replaceable::Unreachable:
            return WriteResult::failed(target.error);
    }
    const int folder = target.folder.get();
    UniqueFd oldData;
    if (target.file) {
        if (WriteResult opened = openOld(calls, target, oldData); !opened) return opened;
    }
    TemporaryFile temporary;
    if (WriteResult made =
            makeTemporary(calls, folder, target.file ? kOwnerOnly : kNewFile, temporary);
        !made)
        return made;
    UniqueFd& file = temporary.fd;
    // Takes the failure first, so that its errno is the failure's.
    const auto discard = [&](WriteResult why) {
        unnameTemporary(calls, folder, temporary);
        return why;
    };
    bool written = false;
    errno = 0;
    try {
        written = write(file.get());
    } catch (...) {
        unnameTemporary(calls, folder, temporary);
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
        if (!takeOwner(calls, file.get(), made, target.old)) {
            if (errno != EPERM && errno != EINVAL) return discard(WriteResult::failed(errno));
            return discard(saveInPlace(calls, target, file.get()));
        }
        if (WriteResult taken = takeOld(calls, file.get(), target.old, oldData.get()); !taken)
            return discard(taken);
    }
    // On disk before it takes a name: a power cut then leaves the old file
    // or the new one, never an empty one, and a save killed before leaves
    // no file behind.
    if (calls("fsync", "", [&] { return ::fsync(file.get()); }) != 0)
        return discard(WriteResult::failed(errno));
    if (WriteResult named = nameTemporary(calls, folder, temporary); !named) return named;
    if (WriteResult same = stillNames(calls, folder, temporary.name, saved); !same)
        return discard(same);
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
              [&] { return ::renameat(folder, temporaryName, folder, name.c_str()); }) != 0)
        return discard(WriteResult::failed(errno));
    // The rename lasts once the folder is on disk. Some file systems cannot
    // flush a folder; the new file is in place either way.
    calls("fsync", "", [&] { return ::fsync(folder); });
    // Between the last look and the rename someone who may write to the
    // folder could still have put another file under the temporary name; no
    // call closes that gap, but then the save did not happen and says so.
    return stillNames(calls, folder, name, saved);
}

}  // namespace platform
