#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

namespace platform {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;
constexpr int kNameAttempts = 100;
// Short, so that any name the folder takes leaves room for it; hidden, so
// that a listing of the folder does not show it while a save runs.
constexpr const char* kTemporaryPrefix = ".kavrel-";
constexpr size_t kTemporaryLetters = 6;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the close reports a write that failed.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Whether the system would follow the link `link` (its status `st`) for this
// process: in a folder anyone may write to that keeps its files to their
// owners (sticky, like /tmp), only a link of this user or of the folder's
// owner. We follow links ourselves, so we apply the rule ourselves; otherwise
// another user's link in /tmp could aim a save at any file.
bool mayFollow(const std::filesystem::path& link, const struct stat& st) {
    struct stat folder {};
    const std::filesystem::path parent = link.parent_path();
    if (::stat(parent.empty() ? "." : parent.c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || st.st_uid == ::geteuid() || st.st_uid == folder.st_uid;
}

// The file a save at `path` replaces: `path` itself, or the file the chain of
// symbolic links at `path` ends in (which need not exist yet), so that the
// links stay. nullopt for a loop, a link that cannot be read, or one the
// system would not follow for us.
std::optional<std::filesystem::path> linkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        if (!mayFollow(p, st)) return std::nullopt;
        std::error_code ec;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return std::nullopt;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return std::nullopt;
}

struct Target {
    Replaceable verdict = Replaceable::Unreachable;
    std::filesystem::path path;      // links resolved
    std::optional<struct stat> old;  // the file there now, if any
};

Target examine(const std::string& path) {
    Target t;
    if (path.empty() || path.find('\0') != std::string::npos) return t;
    std::optional<std::filesystem::path> resolved = linkTarget(path);
    if (!resolved) return t;
    t.path = std::move(*resolved);
    struct stat st {};
    if (::lstat(t.path.c_str(), &st) != 0) {
        if (errno == ENOENT) t.verdict = Replaceable::Yes;
        return t;
    }
    if (!S_ISREG(st.st_mode)) {
        t.verdict = Replaceable::NotRegular;
        return t;
    }
    // No write bit at all: read-only even for the superuser, who passes
    // access() whatever the bits say.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(t.path.c_str(), W_OK) != 0) {
        t.verdict = Replaceable::ReadOnly;
        return t;
    }
    t.verdict = Replaceable::Yes;
    t.old = st;
    return t;
}

// The folder the new file is made and renamed in, held open so that no
// change to the names above it can move the save elsewhere half-way.
int openFolder(const std::filesystem::path& folder) {
    const char* name = folder.empty() ? "." : folder.c_str();
    const int fd = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES) return fd;
    // A folder this user may write to but not list: it still takes the file,
    // only it cannot be flushed.
    return ::open(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

struct Temporary {
    int fd = -1;
    std::string name;
};

// A new, empty file of a name no file in `folder` has. O_EXCL and O_NOFOLLOW:
// never a file or link someone else put there; 0666 lets the umask decide the
// permissions, as for any new file.
std::optional<Temporary> createTemporary(int folder) {
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
        t.fd = ::openat(folder, t.name.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (t.fd >= 0) return t;
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// Gives the new file the old one's owner and group where this process may,
// then its permissions. The set-user and set-group bits stay only with the
// owner and group they were set for.
bool takeOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    bool ownerKept = now.st_uid == old.st_uid;
    bool groupKept = now.st_gid == old.st_gid;
    if (!ownerKept || !groupKept) {
        if (::fchown(fd, old.st_uid, old.st_gid) == 0) {
            ownerKept = groupKept = true;
        } else if (!groupKept && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0) {
            groupKept = true;
        }
    }
    mode_t mode = old.st_mode & 07777;
    if (!ownerKept) mode &= ~static_cast<mode_t>(S_ISUID);
    if (!groupKept) mode &= ~static_cast<mode_t>(S_ISGID);
    return ::fchmod(fd, mode) == 0;
}

// Whether `name` in `folder` is still the file `file`: someone who may
// write to the folder could have put something else in its place, and that
// must not take the saved file's name.
bool stillNames(int folder, const std::string& name, const FileIdentity& file) {
    struct stat named {};
    return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           FileIdentity{named.st_dev, named.st_ino} == file;
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
    return examine(path).verdict;
}

bool replaceFile(const std::string& path, const std::function<bool(int fd)>& write) {
    if (!write) return false;
    const Target target = examine(path);
    if (target.verdict != Replaceable::Yes) return false;
    const std::string name = target.path.filename().string();
    if (name.empty()) return false;
    const Descriptor folder(openFolder(target.path.parent_path()));
    if (folder.get() < 0) return false;
    std::optional<Temporary> temporary = createTemporary(folder.get());
    if (!temporary) return false;
    Descriptor file(temporary->fd);
    // By name, but only ever the name in this folder: a link put there is
    // removed itself, never what it points to.
    const auto discard = [&] { ::unlinkat(folder.get(), temporary->name.c_str(), 0); };
    bool written = false;
    try {
        written = write(file.get());
    } catch (...) {
        discard();
        throw;
    }
    // On disk before it takes the name: a power cut then leaves the old file
    // or the new one, never an empty one.
    const std::optional<FileIdentity> saved = identityOfDescriptor(file.get());
    const bool ready =
        written && saved && (!target.old || takeOwnerAndMode(file.get(), *target.old)) &&
        ::fsync(file.get()) == 0 && stillNames(folder.get(), temporary->name, *saved);
    // The file stays open through the last look below: an inode no one holds
    // could be freed and its number given to whatever took the name.
    const Descriptor held(ready ? ::fcntl(file.get(), F_DUPFD_CLOEXEC, 0) : -1);
    if (!file.close() || !ready || held.get() < 0) {
        discard();
        return false;
    }
    if (::renameat(folder.get(), temporary->name.c_str(), folder.get(), name.c_str()) != 0) {
        discard();
        return false;
    }
    // The rename lasts once the folder is on disk. Some file systems cannot
    // flush a folder; the new file is in place either way.
    ::fsync(folder.get());
    // Between the last look and the rename someone who may write to the
    // folder could still have put another file under the temporary name; no
    // call closes that gap, but then the save did not happen and says so.
    return stillNames(folder.get(), name, *saved);
}

}  // namespace platform
