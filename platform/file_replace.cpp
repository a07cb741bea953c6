#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string_view>
#include <utility>

#include "platform/file_attributes.h"
#include "platform/unique_fd.h"
#include "platform/write_path.h"

namespace platform {

namespace {

constexpr int kNameAttempts = 100;
// Short, so that any name the folder takes leaves room for it; hidden, so
// that a listing of the folder does not show it while a save runs.
constexpr const char* kTemporaryPrefix = ".kavrel-";
constexpr size_t kTemporaryLetters = 6;
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
WriteResult openOld(const HookedCalls& calls, const WritePlace& place, UniqueFd& out) {
    const int flags = O_NONBLOCK | O_NOCTTY;
    UniqueFd fd(reopen(calls, place.file.get(), O_RDONLY | flags));
    if (!fd && errno == EACCES) fd.reset(reopen(calls, place.file.get(), O_WRONLY | flags));
    if (!fd) return WriteResult::failed(errno);
    out = std::move(fd);
    return {};
}

struct Temporary {
    UniqueFd fd;
    std::string name;
};

// A new, empty file of a name no file in `folder` has; nullopt with errno.
// O_EXCL and O_NOFOLLOW: never a file or link someone else put there.
std::optional<Temporary> createTemporary(const HookedCalls& calls, int folder, mode_t mode) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::mt19937_64 gen(
        (static_cast<uint64_t>(device()) << 32) ^ static_cast<uint64_t>(::getpid()) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        Temporary t;
        t.name = kTemporaryPrefix;
        for (size_t i = 0; i < kTemporaryLetters; ++i) t.name += kLetters[pick(gen)];
        t.fd.reset(calls("openat", t.name, [&] {
            return ::openat(folder, t.name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        }));
        if (t.fd) return t;
        if (errno != EEXIST) return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

// Gives the new file `fd` (of status `now`) what the old file had: its owner
// and group where this process may set them, its kept attributes (read
// through `oldData`), then its permissions. The set-user and set-group bits
// stay only with the owner and group they were set for. The mode comes last:
// a changed owner drops those bits, and an ACL set moves the mode's.
WriteResult takeOld(const HookedCalls& calls, int fd, const struct stat& now,
                    const struct stat& old, int oldData) {
    bool ownerKept = now.st_uid == old.st_uid;
    bool groupKept = now.st_gid == old.st_gid;
    if (!ownerKept || !groupKept) {
        if (calls("fchown", "", [&] { return ::fchown(fd, old.st_uid, old.st_gid); }) == 0) {
            ownerKept = groupKept = true;
        } else if (!groupKept && calls("fchown", "", [&] {
                                     return ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
                                 }) == 0) {
            groupKept = true;
        }
    }
    if (WriteResult kept = copyKeptAttributes(oldData, fd, calls); !kept) return kept;
    mode_t mode = old.st_mode & 07777;
    if (!ownerKept) mode &= ~static_cast<mode_t>(S_ISUID);
    if (!groupKept) mode &= ~static_cast<mode_t>(S_ISGID);
    if (calls("fchmod", "", [&] { return ::fchmod(fd, mode); }) != 0)
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
    if (FileIdentity{named.st_dev, named.st_ino} != file) return WriteResult::failed(kTakenOver);
    return {};
}

}  // namespace

WriteResult replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                        const ProtectedFiles& keep, const ReplaceHooks* hooks) {
    if (!write) return WriteResult::failed(EINVAL);
    const HookedCalls calls(hooks);
    WritePlace target;
    if (WriteResult reached = reachForWriting(path, keep, target, calls); !reached) return reached;
    // Its write permission unasked, a read-only file would be replaced.
    if (target.noProcFs) return WriteResult::refused(Refusal::NoProcFs);
    const int folder = target.folder.get();
    UniqueFd oldData;
    if (target.file) {
        if (WriteResult opened = openOld(calls, target, oldData); !opened) return opened;
    }
    std::optional<Temporary> temporary =
        createTemporary(calls, folder, target.file ? kOwnerOnly : kNewFile);
    if (!temporary) return WriteResult::failed(errno);
    UniqueFd& file = temporary->fd;
    const char* temporaryName = temporary->name.c_str();
    // By name, but only ever the name in this folder: a link put there is
    // removed itself, never what it points to.
    const auto removeTemporary = [&] {
        calls("unlinkat", temporaryName, [&] { return ::unlinkat(folder, temporaryName, 0); });
    };
    // Takes the failure first, so that its errno is the failure's.
    const auto discard = [&](WriteResult why) {
        removeTemporary();
        return why;
    };
    bool written = false;
    errno = 0;
    try {
        written = write(file.get());
    } catch (...) {
        removeTemporary();
        throw;
    }
    if (!written) return discard(WriteResult::failed(errno));
    struct stat made {};
    if (calls("fstat", "", [&] { return ::fstat(file.get(), &made); }) != 0)
        return discard(WriteResult::failed(errno));
    const FileIdentity saved{made.st_dev, made.st_ino};
    if (target.file) {
        if (WriteResult taken = takeOld(calls, file.get(), made, target.status, oldData.get());
            !taken)
            return discard(taken);
    }
    // On disk before it takes the name: a power cut then leaves the old file
    // or the new one, never an empty one.
    if (calls("fsync", "", [&] { return ::fsync(file.get()); }) != 0)
        return discard(WriteResult::failed(errno));
    if (WriteResult same = stillNames(calls, folder, temporary->name, saved); !same)
        return discard(same);
    // The file stays open through the last look below: an inode no one holds
    // could be freed and its number given to whatever took the name.
    const UniqueFd held(
        calls("fcntl", "", [&] { return ::fcntl(file.get(), F_DUPFD_CLOEXEC, 0); }));
    if (!held) return discard(WriteResult::failed(errno));
    if (calls("close", "", [&] { return file.close() ? 0 : -1; }) != 0)
        return discard(WriteResult::failed(errno));
    const std::string& name = target.name;
    if (calls("renameat", temporaryName,
              [&] { return ::renameat(folder, temporaryName, folder, name.c_str()); }) != 0) {
        // The folder is held and the name was just seen: only another user
        // who may write to the folder takes the temporary away.
        if (errno == ENOENT) return discard(WriteResult::failed(kTemporaryMoved));
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
    return stillNames(calls, folder, name, saved);
}

}  // namespace platform
