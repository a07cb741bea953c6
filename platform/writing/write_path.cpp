#include "platform/writing/write_path.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "platform/writing/unmapped_owner.h"

namespace platform {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
// A new file appearing at the name each time it is to be made: given up.
constexpr int kCreateAttempts = 16;
constexpr char kTakenOver[] = "another file took its place while it was opened";

// Puts the names of `path` in front of `names`, in order. A path ending in
// a slash names a folder: "." in it stands for it.
void prependNames(std::deque<std::string>& names, const std::string& path) {
    std::vector<std::string> parts;
    for (size_t at = 0; at < path.size();) {
        const size_t slash = std::min(path.find('/', at), path.size());
        if (slash > at) parts.push_back(path.substr(at, slash - at));
        at = slash + 1;
    }
    if (!path.empty() && path.back() == '/') parts.emplace_back(".");
    names.insert(names.begin(), parts.begin(), parts.end());
}

// A folder anyone may write to that keeps its files to their owners (sticky).
bool sharedSticky(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// Why the system would not let this process follow, or write into, what
// belongs to `owner` in `folder` when its protection is on: in a shared
// sticky folder, only what is this user's or the folder owner's may be used.
// We follow links ourselves, so we apply the rule ourselves; otherwise
// another user's link or file in /tmp could aim a save at any file, or take
// its content. In a user namespace that does not map every id, the folder's
// owner, other users and, without a map, this user all show as the overflow
// id: an owner shown so may be anyone, so it is taken for no one
// (`unknown`); `others` for a known owner who is neither.
std::optional<Refusal> refusalFor(const struct stat& folder, uid_t owner, Refusal others,
                                  Refusal unknown) {
    if (!sharedSticky(folder)) return std::nullopt;
    if (userMayBeUnmapped(owner)) return unknown;
    if (owner == ::geteuid() || owner == folder.st_uid) return std::nullopt;
    return others;
}

// Whether the folder open at `folder` is on the proc file system; nullopt
// with errno when that cannot be told.
std::optional<bool> onProcFs(int folder) {
    struct statfs where {};
    if (calls("fstatfs", "", [&] { return ::fstatfs(folder, &where); }) != 0) return std::nullopt;
    return where.f_type == PROC_SUPER_MAGIC;
}

// What the link open at `link` (O_PATH | O_NOFOLLOW) holds; nullopt with errno.
std::optional<std::string> readLink(int link) {
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

UniqueFd openFolder(int base, const char* name) {
    return UniqueFd(calls("openat", name, [&] {
        return ::openat(base, name, O_PATH | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC);
    }));
}

// Where a walk starts: the root for an absolute path, else the working folder.
UniqueFd startOf(const std::string& path) {
    return openFolder(AT_FDCWD, path.front() == '/' ? "/" : ".");
}

// Judges the regular file `place` found (status `st`, open at `node`) and
// keeps it in `place` when it may be written.
WriteResult judge(const ProtectedFiles& keep, WritePlace& place, UniqueFd node,
                  const struct stat& st) {
    if (!S_ISREG(st.st_mode)) return WriteResult::refused(Refusal::NotRegular);
    // Only a link on the proc file system reaches a file with no name left;
    // writing it would keep nothing.
    if (st.st_nlink == 0) return WriteResult::refused(Refusal::Deleted);
    const FileIdentity identity{st.st_dev, st.st_ino};
    if (std::find(keep.begin(), keep.end(), identity) != keep.end())
        return WriteResult::refused(Refusal::InUse, identity);
    struct stat folder {};
    if (calls("fstat", "", [&] { return ::fstat(place.folder.get(), &folder); }) != 0)
        return WriteResult::failed(errno);
    if (const std::optional<Refusal> why =
            refusalFor(folder, st.st_uid, Refusal::OthersFile, Refusal::UnknownOwner))
        return WriteResult::refused(*why);
    // No write bit at all: read-only even for the superuser, whom the
    // system's own answer lets write anything.
    if ((st.st_mode & kWriteBits) == 0) return WriteResult::refused(Refusal::ReadOnly);
    // access(), not faccessat(): the C library makes it with the call every
    // kernel has, while faccessat tries the newer faccessat2 first and hands
    // on the EPERM a filter that does not know it answers. The system
    // decides (capabilities, security modules, immutable files, read-only
    // mounts), not a reading of the owner, mode and ACL.
    const std::string proc = procNameOf(node.get());
    if (calls("access", proc, [&] { return ::access(proc.c_str(), W_OK); }) != 0) {
        if (errno == EACCES) return WriteResult::refused(Refusal::NotWritable);
        if (errno == EPERM) return whyNotPermitted(node.get());
        if (errno != ENOENT) return WriteResult::failed(errno);
        place.noProcFs = true;
    }
    place.file = std::move(node);
    place.status = st;
    return {};
}

}  // namespace

std::string procNameOf(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

int reopen(int at, int flags) {
    const std::string proc = procNameOf(at);
    return calls("open", proc, [&] { return ::open(proc.c_str(), flags | O_CLOEXEC); });
}

WriteResult whyNotPermitted(int file) {
    const UniqueFd data(reopen(file, O_RDONLY | O_NONBLOCK | O_NOCTTY));
    int flags = 0;
    if (data &&
        calls("ioctl", "", [&] { return ::ioctl(data.get(), FS_IOC_GETFLAGS, &flags); }) == 0 &&
        (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0)
        return WriteResult::refused(Refusal::Unchangeable);
    return WriteResult::failed(EPERM);
}

WriteResult openLookedAt(const WritePlace& place, int flags, UniqueFd& opened) {
    UniqueFd fd;
    if (!place.noProcFs) {
        fd.reset(reopen(place.file.get(), flags));
        if (!fd) return WriteResult::failed(errno);
        opened = std::move(fd);
        return {};
    }
    const char* name = place.name.c_str();
    fd.reset(calls("openat", name, [&] {
        return ::openat(place.folder.get(), name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }));
    struct stat st {};
    if (fd && calls("fstat", "", [&] { return ::fstat(fd.get(), &st); }) != 0)
        return WriteResult::failed(errno);
    // ENXIO: a FIFO no one reads, put there since the look.
    if ((fd && (st.st_dev != place.status.st_dev || st.st_ino != place.status.st_ino)) ||
        (!fd && (errno == ENXIO || errno == ELOOP)))
        return WriteResult::failed(kTakenOver);
    if (!fd) return WriteResult::failed(errno);
    opened = std::move(fd);
    return {};
}

WriteResult reachForWriting(const std::string& path, const ProtectedFiles& keep,
                            WritePlace& place) {
    place = WritePlace{};
    if (path.empty()) return WriteResult::failed(ENOENT);
    if (path.find('\0') != std::string::npos) return WriteResult::failed(EINVAL);
    UniqueFd& at = place.folder;
    at = startOf(path);
    std::deque<std::string> names;
    prependNames(names, path);
    int links = 0;
    while (true) {
        if (!at) return WriteResult::failed(errno);
        std::string name = std::move(names.front());
        names.pop_front();
        const bool last = names.empty();
        if (!last) {
            // O_DIRECTORY, so that an automounted folder is mounted; a link
            // fails it with ENOTDIR and is looked at below.
            UniqueFd next = openFolder(at.get(), name.c_str());
            if (next) {
                at = std::move(next);
                continue;
            }
            if (errno != ENOTDIR) return WriteResult::failed(errno);
        }
        UniqueFd node(calls("openat", name, [&] {
            return ::openat(at.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        }));
        if (!node && last && errno == ENOENT) {
            place.name = std::move(name);
            return {};
        }
        struct stat st {};
        if (!node || calls("fstat", name, [&] { return ::fstat(node.get(), &st); }) != 0)
            return WriteResult::failed(errno);
        if (S_ISLNK(st.st_mode)) {
            if (++links > kMaxLinks) return WriteResult::failed(ELOOP);
            const std::optional<bool> proc = onProcFs(at.get());
            if (!proc) return WriteResult::failed(errno);
            if (*proc) {
                // Its text only describes the object, perhaps in another
                // mount namespace, or one no name leads to: the kernel
                // jumps to the object itself, and so do we.
                node.reset(calls("openat", name, [&] {
                    return ::openat(at.get(), name.c_str(), O_PATH | O_CLOEXEC);
                }));
                if (!node || calls("fstat", name, [&] { return ::fstat(node.get(), &st); }) != 0)
                    return WriteResult::failed(errno);
                if (last) {
                    place.name = std::move(name);
                    place.noFolder = true;
                    return judge(keep, place, std::move(node), st);
                }
                if (!S_ISDIR(st.st_mode)) return WriteResult::failed(ENOTDIR);
                at = std::move(node);
                continue;
            }
            struct stat folder {};
            if (calls("fstat", "", [&] { return ::fstat(at.get(), &folder); }) != 0)
                return WriteResult::failed(errno);
            if (const std::optional<Refusal> why =
                    refusalFor(folder, st.st_uid, Refusal::OthersLink, Refusal::UnknownLinkOwner))
                return WriteResult::refused(*why);
            const std::optional<std::string> text = readLink(node.get());
            if (!text) return WriteResult::failed(errno);
            if (text->empty()) return WriteResult::failed(ENOENT);
            if (text->front() == '/') at = startOf(*text);
            prependNames(names, *text);
            continue;
        }
        if (!last) {
            // A folder put at the name since it was opened as one: it is
            // what the path now leads through.
            if (!S_ISDIR(st.st_mode)) return WriteResult::failed(ENOTDIR);
            at = std::move(node);
            continue;
        }
        place.name = std::move(name);
        return judge(keep, place, std::move(node), st);
    }
}

WriteResult openForWriting(const std::string& path, UniqueFd& opened, const ProtectedFiles& keep) {
    constexpr int kWrite = O_WRONLY | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        WritePlace place;
        if (WriteResult reached = reachForWriting(path, keep, place); !reached) return reached;
        const int folder = place.folder.get();
        const char* name = place.name.c_str();
        UniqueFd fd;
        if (!place.file) {
            fd.reset(calls("openat", name, [&] {
                return ::openat(folder, name, kWrite | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                0666);
            }));
            if (!fd && errno == EEXIST) continue;
            if (!fd) return WriteResult::failed(errno);
        } else if (WriteResult reopened = openLookedAt(place, kWrite, fd); !reopened) {
            if (reopened.error() == EPERM) return whyNotPermitted(place.file.get());
            return reopened;
        }
        // Opened without waiting, so that nothing could block; written as any file.
        const int flags = calls("fcntl", "", [&] { return ::fcntl(fd.get(), F_GETFL); });
        if (flags < 0 || calls("fcntl", "", [&] {
                             return ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
                         }) != 0)
            return WriteResult::failed(errno);
        opened = std::move(fd);
        return {};
    }
    return WriteResult::failed(EEXIST);
}

}  // namespace platform
