#include "cli/line_source.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace kavrel {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

[[noreturn]] void lineTooLong() {
    throw LineSourceError("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
}
}  // namespace

void LineSource::trimLine(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first_ && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
    first_ = false;
}

std::optional<std::string> StreamLineSource::next(const IdleHook&) {
    std::streambuf* buf = in_.rdbuf();
    if (!buf || !in_.good()) return std::nullopt;
    std::string line;
    bool any = false;
    try {
        for (;;) {
            const auto c = buf->sbumpc();
            if (std::istream::traits_type::eq_int_type(c, std::istream::traits_type::eof())) {
                in_.setstate(std::ios::eofbit);
                break;
            }
            any = true;
            if (c == '\n') break;
            // One byte more than the limit may be the carriage return of a line end.
            if (line.size() > kMaxLineBytes) lineTooLong();
            line += std::istream::traits_type::to_char_type(c);
        }
    } catch (const LineSourceError&) {
        throw;
    } catch (const std::exception&) {
        // A file stream over a folder throws from its buffer.
        in_.setstate(std::ios::badbit);
        throw LineSourceError("the script could not be read");
    }
    if (!any) return std::nullopt;
    trimLine(line);
    if (line.size() > kMaxLineBytes) lineTooLong();
    return line;
}

std::optional<std::string> FdLineSource::takeLine() {
    const size_t end = buffer_.find('\n', scanned_);
    if (end == std::string::npos) {
        scanned_ = buffer_.size();
        // One byte more than the limit may be the carriage return of a line end.
        if (buffer_.size() - start_ > kMaxLineBytes + 1) lineTooLong();
        // The last line may lack its line end.
        if (!eof_ || buffer_.size() == start_) return std::nullopt;
        std::string line = buffer_.substr(start_);
        buffer_.clear();
        start_ = scanned_ = 0;
        trimLine(line);
        if (line.size() > kMaxLineBytes) lineTooLong();
        return line;
    }
    std::string line = buffer_.substr(start_, end - start_);
    start_ = scanned_ = end + 1;
    trimLine(line);
    if (line.size() > kMaxLineBytes) lineTooLong();
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
        // Drop the lines already handed out, so the buffer holds at most one
        // line and one chunk.
        buffer_.erase(0, start_);
        scanned_ -= start_;
        start_ = 0;
        char chunk[4096];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0)
            buffer_.append(chunk, static_cast<size_t>(got));
        else if (got == 0 || (errno != EINTR && errno != EAGAIN))
            eof_ = true;
    }
}

}  // namespace kavrel
