#include "host/line_source.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace kavrel {

namespace {
void dropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}
}  // namespace

std::optional<std::string> StreamLineSource::next(const IdleHook&) {
    std::string line;
    if (!std::getline(in_, line)) {
        if (in_.bad()) throw LineSourceError("the script could not be read");
        return std::nullopt;
    }
    dropCarriageReturn(line);
    return line;
}

std::optional<std::string> FdLineSource::takeLine() {
    const size_t end = buffer_.find('\n');
    if (end == std::string::npos) {
        // The last line may lack its line end.
        if (!eof_ || buffer_.empty()) return std::nullopt;
        std::string line = std::move(buffer_);
        buffer_.clear();
        dropCarriageReturn(line);
        return line;
    }
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    dropCarriageReturn(line);
    return line;
}

std::optional<std::string> FdLineSource::next(const IdleHook& idle) {
    for (;;) {
        if (auto line = takeLine()) return line;
        if (eof_) return std::nullopt;
        const int timeout = idle ? idle() : -1;
        // The idle hook may have taken lines itself (a modal wait runs the
        // following lines), so look at the buffer again before blocking.
        if (auto line = takeLine()) return line;
        if (eof_) return std::nullopt;
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout < 0 ? -1 : timeout);
        if (ready < 0 && errno != EINTR) {
            eof_ = true;
            continue;
        }
        if (ready <= 0) continue;
        char chunk[4096];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0)
            buffer_.append(chunk, static_cast<size_t>(got));
        else if (got == 0 || (errno != EINTR && errno != EAGAIN))
            eof_ = true;
    }
}

}  // namespace kavrel
