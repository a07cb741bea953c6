#pragma once
// Line-based text files as the program's files hold them: Windows-1252 on
// disk, CR LF after every line; UTF-8 strings in the program.
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace platform {

// True only for an existing regular file (not for "" or a folder).
bool fileExists(const std::string& path);

class TextFileWriter {
  public:
    // Creates or overwrites the file.
    bool open(const std::string& path);
    // Writes the line and CR LF.
    bool writeLine(std::string_view utf8);
    // False when the file could not be opened, written or closed.
    bool close();

  private:
    std::ofstream out_;
    bool ok_ = false;
};

class TextFileReader {
  public:
    bool open(const std::string& path);
    // The next line without its LF or CR LF; nullopt at the end of the file.
    std::optional<std::string> readLine();
    bool atEnd() const { return atEnd_; }
    void close();

  private:
    std::ifstream in_;
    bool atEnd_ = true;
};

// Writes through `write` into a temporary file beside `path` and moves it over
// `path` only when `write` returned true and every line was written and the
// file closed; otherwise removes the temporary and leaves `path` as it was.
// A symbolic link at `path` stays: the file it points to is replaced, keeping
// its permissions. Refused, before anything is written: a read-only file (no
// write permission bit, or none for this user) and anything that is not a
// regular file (a folder, FIFO or device, which is never opened).
bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(TextFileWriter&)>& write);

}  // namespace platform
