#include "platform/writing/temporary_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string_view>

#include "platform/writing/write_path.h"

namespace platform {

namespace {

constexpr int kNameAttempts = 100;
// Short, so that any name the folder takes leaves room for it; hidden, so
// that a listing of the folder does not show it while a save runs.
constexpr const char* kTemporaryPrefix = ".kavrel-";
constexpr size_t kTemporaryLetters = 6;

// Calls `make(name)` (0, or -1 with errno) under fresh names until one is
// free; `name` holds the name taken, or nothing when none was.
template <class Make>
WriteResult underFreeName(std::string& name, Make make) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::mt19937_64 gen(
        (static_cast<uint64_t>(device()) << 32) ^ static_cast<uint64_t>(::getpid()) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = kTemporaryPrefix;
        for (size_t i = 0; i < kTemporaryLetters; ++i) name += kLetters[pick(gen)];
        if (make(name.c_str()) == 0) return {};
        const int error = errno;
        name.clear();
        if (error != EEXIST) return WriteResult::failed(error);
    }
    return WriteResult::failed(EEXIST);
}

// Whether the proc file system's name for `fd` leads to the file open there:
// a nameless file is linked through it.
bool procShows(int fd) {
    const std::string name = procNameOf(fd);
    struct stat viaProc {};
    struct stat open {};
    return calls("stat", name, [&] { return ::stat(name.c_str(), &viaProc); }) == 0 &&
           ::fstat(fd, &open) == 0 && viaProc.st_dev == open.st_dev &&
           viaProc.st_ino == open.st_ino;
}

// What a file system, or a kernel, that makes no nameless files answers.
bool makesNoNamelessFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

}  // namespace

WriteResult makeTemporary(int folder, mode_t mode, TemporaryFile& out) {
    // Without O_EXCL, which would forbid ever giving it a name.
    UniqueFd nameless(calls(
        "openat", "", [&] { return ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode); }));
    if (nameless && procShows(nameless.get())) {
        out.fd = std::move(nameless);
        out.name.clear();
        return {};
    }
    if (!nameless && !makesNoNamelessFiles(errno)) return WriteResult::failed(errno);
    nameless.reset();
    return underFreeName(out.name, [&](const char* name) {
        out.fd.reset(calls("openat", name, [&] {
            return ::openat(folder, name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        }));
        return out.fd ? 0 : -1;
    });
}

WriteResult makeInMemory(TemporaryFile& out) {
    out.fd.reset(
        calls("memfd_create", "", [] { return ::memfd_create("kavrel-save", MFD_CLOEXEC); }));
    out.name.clear();
    return out.fd ? WriteResult() : WriteResult::failed(errno);
}

WriteResult nameTemporary(int folder, TemporaryFile& temporary) {
    if (!temporary.name.empty()) return {};
    const std::string viaProc = procNameOf(temporary.fd.get());
    return underFreeName(temporary.name, [&](const char* name) {
        return calls("linkat", name, [&] {
            return ::linkat(AT_FDCWD, viaProc.c_str(), folder, name, AT_SYMLINK_FOLLOW);
        });
    });
}

void unnameTemporary(int folder, TemporaryFile& temporary) {
    if (temporary.name.empty()) return;
    const char* name = temporary.name.c_str();
    const auto unlink = [&] {
        return calls("unlinkat", name, [&] { return ::unlinkat(folder, name, 0); });
    };
    // Without CAP_FOWNER the superuser may give the file away but no longer
    // remove it from a sticky folder.
    if (unlink() != 0 && errno == EPERM &&
        calls("fchown", "",
              [&] { return ::fchown(temporary.fd.get(), ::geteuid(), ::getegid()); }) == 0)
        unlink();
    temporary.name.clear();
}

}  // namespace platform
