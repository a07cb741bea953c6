#include "cli/dmx_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "cli/kavrel_program.h"
#include "cli/script_values.h"
#include "platform/fd_write.h"

namespace kavrel {

FdWriteBuffer::FdWriteBuffer(platform::UniqueFd fd) : fd_(std::move(fd)) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

FdWriteBuffer::~FdWriteBuffer() {
    writeOut();
}

FdWriteBuffer::int_type FdWriteBuffer::overflow(int_type c) {
    if (!writeOut()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int FdWriteBuffer::sync() {
    return writeOut() ? 0 : -1;
}

bool FdWriteBuffer::writeOut() {
    const char* p = pbase();
    const auto size = static_cast<size_t>(pptr() - pbase());
    setp(buffer_, buffer_ + sizeof buffer_);
    errno = 0;
    if (platform::writeAll(fd_.get(), p, size)) return true;
    if (error_ == 0) error_ = errno != 0 ? errno : EIO;
    return false;
}

std::unique_ptr<FdWriteBuffer> openDmxLog(const std::string& path,
                                          const std::optional<platform::FileIdentity>& script) {
    const std::string log = "the DMX log " + quotedText(path);
    const auto refuseWhatIsThere = [&](const struct stat& st) {
        if (!S_ISREG(st.st_mode)) throw UsageError(log + " is not a regular file");
        if (script && platform::FileIdentity{st.st_dev, st.st_ino} == script)
            throw UsageError(log + " is the script itself");
        // No write bit at all: kept, as a save or snapshot keeps it, even for
        // the superuser, whom opening would not stop.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            throw UsageError(log + " is read-only");
    };
    const auto cannotWrite = [&](int error) {
        return UsageError("cannot write " + log + ": " + std::generic_category().message(error));
    };
    // Looked at before it is opened: opening a FIFO shows a reader an open,
    // and opening a device can have effects of its own.
    struct stat seen {};
    if (::stat(path.c_str(), &seen) == 0) refuseWhatIsThere(seen);
    platform::UniqueFd fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    // ENXIO: a FIFO that no one reads, put there since the look.
    if (!fd && errno == ENXIO) throw UsageError(log + " is not a regular file");
    if (!fd) throw cannotWrite(errno);
    // Again through the descriptor: the name may stand for another file now.
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0) throw cannotWrite(errno);
    refuseWhatIsThere(opened);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::ftruncate(fd.get(), 0) != 0 ||
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw cannotWrite(errno);
    return std::make_unique<FdWriteBuffer>(std::move(fd));
}

}  // namespace kavrel
