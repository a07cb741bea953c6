#include "platform/picture_readers/picture_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

PictureBytes fileBytes(int fd) {
    struct stat st {};
    const uint64_t size =
        ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    return [fd, size](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        if (offset >= size) return 0;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(n, size - offset));
        size_t got = 0;
        while (got < want) {
            const ssize_t r = ::pread(fd, out + got, want - got, static_cast<off_t>(offset + got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) return kPictureReadError;  // failed, or shorter than fstat said
            got += static_cast<size_t>(r);
        }
        return got;
    };
}

PictureStream::PictureStream(const PictureBytes& source, const PictureSink& sink)
    : source_(source), sink_(sink), buffer_(kBuffer) {}

// After a skip, the next read is small: a walk that skips part after part
// (segments passed over by their length) reads little of what it skips.
constexpr size_t kAfterSkip = 1024;

bool PictureStream::fill(size_t n) {
    if (filled_ - pos_ >= n) return true;
    if (ended_ || !flush()) return false;
    // What is left moves to the front; the rest of the buffer is read.
    std::memmove(buffer_.data(), buffer_.data() + pos_, filled_ - pos_);
    start_ += pos_;
    filled_ -= pos_;
    pos_ = 0;
    keptFrom_ = 0;
    while (filled_ < n && !ended_) {
        const size_t room = buffer_.size() - filled_;
        const size_t want = jumped_ ? std::min(room, std::max(n - filled_, kAfterSkip)) : room;
        jumped_ = false;
        const size_t got = source_(start_ + filled_, buffer_.data() + filled_, want);
        if (got == kPictureReadError) {
            readError_ = true;
            ended_ = true;
            return false;
        }
        filled_ += got;
        ended_ = got < want;
    }
    return filled_ >= n;
}

const uint8_t* PictureStream::look(size_t n) {
    return n <= kBuffer && fill(n) ? buffer_.data() + pos_ : nullptr;
}

std::span<const uint8_t> PictureStream::window() {
    if (!fill(1)) return {};
    return {buffer_.data() + pos_, filled_ - pos_};
}

void PictureStream::keep(size_t n) {
    if (!keeping_) {
        keeping_ = true;
        keptFrom_ = pos_;
    }
    pos_ += n;
}

uint64_t PictureStream::keepRun(uint64_t n) {
    uint64_t done = 0;
    while (done < n) {
        const std::span<const uint8_t> w = window();
        if (w.empty()) break;
        const size_t step = static_cast<size_t>(std::min<uint64_t>(w.size(), n - done));
        keep(step);
        done += step;
    }
    return done;
}

void PictureStream::skip(uint64_t n) {
    flush();
    if (n <= filled_ - pos_) {
        pos_ += static_cast<size_t>(n);
        return;
    }
    seek(offset() + n);
}

void PictureStream::seek(uint64_t at) {
    flush();
    if (at >= start_ && at - start_ <= filled_) {
        pos_ = static_cast<size_t>(at - start_);
        return;
    }
    start_ = at;
    pos_ = filled_ = 0;
    ended_ = readError_;
    jumped_ = true;
}

void PictureStream::put(const uint8_t* data, size_t n) {
    if (flush() && n > 0) failed_ = !sink_(data, n);
}

bool PictureStream::holds(uint64_t at) {
    uint8_t b = 0;
    const size_t got = source_(at, &b, 1);
    if (got == kPictureReadError) readError_ = true;
    return got == 1;
}

bool PictureStream::flush() {
    if (keeping_) {
        keeping_ = false;
        if (!failed_ && pos_ > keptFrom_)
            failed_ = !sink_(buffer_.data() + keptFrom_, pos_ - keptFrom_);
    }
    return !failed_;
}

}  // namespace platform
