#pragma once
// Line-based text files as the program's files hold them: Windows-1252 on
// disk, CR LF after every line; UTF-8 strings in the program.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "platform/text/cp1252.h"
#include "platform/files/file_identity.h"
#include "platform/writing/write_result.h"

namespace platform {

// Lines written to a file descriptor, which stays the caller's, through a
// buffer of fixed size (a line longer than it passes whole).
class TextFileWriter {
  public:
    explicit TextFileWriter(int fd);
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // A file may hold at most `bytes`: the line that would pass them is not
    // written, and it and every line after it fail.
    void setLimit(uintmax_t bytes) { limit_ = bytes; }
    bool overLimit() const { return overLimit_; }
    // Writes the line and CR LF.
    bool writeLine(std::string_view utf8);
    // Writes out what is buffered. False when a line failed or a write did;
    // a line written after it fails too.
    bool close();

  private:
    bool writeOut();

    int fd_;
    std::string buffer_;
    uintmax_t size_ = 0;
    uintmax_t limit_ = std::numeric_limits<uintmax_t>::max();
    bool ok_ = true;
    bool closed_ = false;
    bool overLimit_ = false;
};

// Saves the lines `write` gives at `path` only when `write` returned true
// and every line was written (see replaceFile in platform/writing/file_replace.h,
// which says when the file is replaced whole and when written in place, what
// is refused, `keep` among it, and what is kept), or says why not.
WriteResult saveTextFile(const std::string& path, const std::function<bool(TextFileWriter&)>& write,
                         const ProtectedFiles& keep = {});

}  // namespace platform
