#include "platform/text/text_file.h"

#include <cerrno>

#include "platform/files/fd_write.h"
#include "platform/writing/file_replace.h"

namespace platform {

namespace {

// What the writer gathers before it writes: a save then costs this much
// memory beyond the project, whatever the project's size.
constexpr size_t kWriteChunk = 64 * 1024;

}  // namespace

TextFileWriter::TextFileWriter(int fd) : fd_(fd) {
    buffer_.reserve(kWriteChunk);
}

bool TextFileWriter::writeLine(std::string_view utf8) {
    if (closed_ || !ok_) {
        ok_ = false;
        return false;
    }
    const size_t start = buffer_.size();
    appendCp1252(buffer_, utf8);
    buffer_ += "\r\n";
    const size_t added = buffer_.size() - start;
    if (added > limit_ - size_) {
        buffer_.resize(start);
        overLimit_ = true;
        ok_ = false;
        return false;
    }
    size_ += added;
    if (buffer_.size() >= kWriteChunk) ok_ = writeOut();
    return ok_;
}

bool TextFileWriter::writeOut() {
    const bool written = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    // A line longer than the buffer leaves it grown; it goes back to its size.
    if (buffer_.capacity() > kWriteChunk * 2) std::string().swap(buffer_);
    return written;
}

bool TextFileWriter::close() {
    if (!closed_) {
        closed_ = true;
        if (ok_) ok_ = writeOut();
    }
    return ok_;
}

WriteResult saveTextFile(const std::string& path, const std::function<bool(TextFileWriter&)>& write,
                         const ProtectedFiles& keep) {
    if (!write) return WriteResult::failed(EINVAL);
    return replaceFile(
        path,
        [&write](int fd) {
            TextFileWriter writer(fd);
            const bool written = write(writer);
            // Closed in every case, so that a write error that only shows
            // when the buffer is written out still counts.
            return writer.close() && written;
        },
        keep);
}

}  // namespace platform
