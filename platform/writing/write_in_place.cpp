#include "platform/writing/write_in_place.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/writing/file_replace.h"

namespace platform {

namespace {

constexpr size_t kChunk = 64 * 1024;
// How long a save waits for another to finish writing the same file.
constexpr auto kLockWait = std::chrono::seconds(3);
constexpr auto kLockPoll = std::chrono::milliseconds(20);

constexpr char kLocked[] = "another program is writing it";
constexpr char kNotAside[] = "its old content cannot be kept aside to write it in place";
constexpr char kUnreadable[] =
    "its old content cannot be kept aside to write it in place: it may not be read";
constexpr char kTooLarge[] =
    "its old content cannot be kept aside to write it in place: its folder holds no copy, and "
    "it is larger than 64 MiB";
constexpr char kPutBack[] = "it was written into and then put back as it was";

// Copies all of `from`, from its start, over `to` from its start; the bytes
// copied, or -1 with errno. `subject` names `to` for the hooks.
off_t copyAll(int from, int to, std::string_view subject) {
    char buffer[kChunk];
    off_t at = 0;
    for (;;) {
        const ssize_t n =
            calls("pread", "", [&] { return ::pread(from, buffer, sizeof buffer, at); });
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) return at;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = calls("pwrite", subject, [&] {
                return ::pwrite(to, buffer + done, static_cast<size_t>(n - done), at + done);
            });
            if (w < 0 && errno == EINTR) continue;
            if (w == 0) errno = EIO;
            if (w <= 0) return -1;
            done += w;
        }
        at += n;
    }
}

// Takes the write lock on all of `fd`, waiting a little for another's.
WriteResult lockWhole(int fd) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from 0, length 0: the whole file, however long
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    while (calls("fcntl", "", [&] { return ::fcntl(fd, F_OFD_SETLK, &whole); }) != 0) {
        // A file system that keeps no locks: written as before.
        if (errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP) return {};
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) return WriteResult::failed(errno);
        if (std::chrono::steady_clock::now() >= until) return WriteResult::failed(kLocked);
        std::this_thread::sleep_for(kLockPoll);
    }
    return {};
}

// Keeps the content of `old` in `aside`: a temporary in `folder`, or in
// memory where the folder holds none. Its length goes to `length`.
WriteResult keepAside(int folder, int old, TemporaryFile& aside, off_t& length) {
    const auto notAside = [](int error) {
        return WriteResult::described(
            error, std::string(kNotAside) + ": " + std::generic_category().message(error));
    };
    WriteResult made =
        folder >= 0 ? makeTemporary(folder, kOwnerOnly, aside) : WriteResult::failed(EACCES);
    if (!made) {
        if (made.error() != EACCES && made.error() != EPERM) return notAside(made.error());
        struct stat st {};
        if (calls("fstat", "", [&] { return ::fstat(old, &st); }) != 0)
            return WriteResult::failed(errno);
        if (static_cast<uintmax_t>(st.st_size) > kMaxSavedBytes)
            return WriteResult::failed(kTooLarge);
        if (WriteResult inMemory = makeInMemory(aside); !inMemory)
            return notAside(inMemory.error());
    }
    length = copyAll(old, aside.fd.get(), "");
    if (length < 0) return notAside(errno);
    return {};
}

// Gives `temporary` a name beside the file for the user to find; what the
// message then says of it.
std::string leave(int folder, TemporaryFile& temporary) {
    if (folder < 0 || !nameTemporary(folder, temporary)) return "could not be left beside it";
    std::string where = "is in " + temporary.name + " beside it";
    temporary.name.clear();  // the user's now: not removed
    return where;
}

// Writes `from` over `to` and cuts it to what was written; flushed.
bool overwrite(int from, int to, std::string_view name) {
    const off_t written = copyAll(from, to, name);
    return written >= 0 && calls("ftruncate", "", [&] { return ::ftruncate(to, written); }) == 0 &&
           calls("fsync", "", [&] { return ::fsync(to); }) == 0;
}

}  // namespace

WriteResult writeInPlace(const WritePlace& place, TemporaryFile& made) {
    UniqueFd old;
    if (WriteResult opened = openLookedAt(place, O_RDWR | O_NOCTTY, old); !opened) {
        if (opened.error() == EPERM) return whyNotPermitted(place.file.get());
        return opened.error() == EACCES ? WriteResult::failed(kUnreadable) : opened;
    }
    if (WriteResult locked = lockWhole(old.get()); !locked) return locked;
    // A file the kernel reached through the proc file system has no folder
    // of its own to keep a copy in.
    const int folder = place.folder && !place.noFolder ? place.folder.get() : -1;
    TemporaryFile aside;
    const auto done = [&](WriteResult result) {
        unnameTemporary(folder, aside);
        return result;
    };
    off_t oldLength = 0;
    if (WriteResult kept = keepAside(folder, old.get(), aside, oldLength); !kept) return done(kept);
    struct stat st {};
    if (calls("fstat", "", [&] { return ::fstat(made.fd.get(), &st); }) != 0)
        return done(WriteResult::failed(errno));
    // Blocks for the new length held without moving the file's end: a full
    // disk or quota fails here, before the first byte is overwritten, and no
    // one reading meanwhile sees the file grow.
    if (st.st_size > 0 &&
        calls("fallocate", "",
              [&] { return ::fallocate(old.get(), FALLOC_FL_KEEP_SIZE, 0, st.st_size); }) != 0 &&
        errno != EOPNOTSUPP) {
        const int error = errno;
        // Cut to its own length, the file gives back what was held past it.
        calls("ftruncate", "", [&] { return ::ftruncate(old.get(), oldLength); });
        return done(WriteResult::failed(error));
    }
    if (overwrite(made.fd.get(), old.get(), place.name)) {
        // The lock goes with the descriptor, once the file is on disk.
        if (calls("close", "", [&] { return old.close() ? 0 : -1; }) != 0)
            return done(WriteResult::failed(errno));
        return done({});
    }
    const int error = errno;
    if (overwrite(aside.fd.get(), old.get(), place.name))
        return done(WriteResult::failed(error).noting(kPutBack));
    std::string left = "it may be damaged: its old content " + leave(folder, aside);
    left += ", the new content " + leave(folder, made);
    return done(WriteResult::failed(error).noting(std::move(left)));
}

}  // namespace platform
