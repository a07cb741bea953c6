#include "cli/dmx_log_file.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "cli/kavrel_program.h"
#include "cli/script_values.h"
#include "platform/files/fd_write.h"
#include "platform/writing/write_path.h"

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

bool FdWriteBuffer::close() {
    const bool written = writeOut();
    errno = 0;
    if (!fd_.close() && error_ == 0) error_ = errno != 0 ? errno : EIO;
    return written && error_ == 0;
}

std::unique_ptr<FdWriteBuffer> openDmxLog(const std::string& path,
                                          const std::optional<platform::FileIdentity>& script) {
    const std::string log = "the DMX log " + quotedText(path);
    platform::ProtectedFiles keep;
    if (script) keep.push_back(*script);
    platform::UniqueFd fd;
    const platform::WriteResult opened = platform::openForWriting(path, fd, keep);
    if (const std::optional<platform::Refusal> refusal = opened.refusal()) {
        switch (*refusal) {
            case platform::Refusal::NotRegular:
                throw UsageError(log + " is not a regular file");
            case platform::Refusal::InUse:
                throw UsageError(log + " is the script itself");
            case platform::Refusal::ReadOnly:
                throw UsageError(log + " is read-only");
            default:  // another user's file: the refusal's own reason follows
                break;
        }
    }
    const auto cannotWrite = [&](const std::string& reason) {
        return UsageError("cannot write " + log + ": " + reason);
    };
    if (!opened) throw cannotWrite(opened.reason());
    if (::ftruncate(fd.get(), 0) != 0) throw cannotWrite(std::generic_category().message(errno));
    return std::make_unique<FdWriteBuffer>(std::move(fd));
}

}  // namespace kavrel
