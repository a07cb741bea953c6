#pragma once
// Line-based text files as the program's files hold them: Windows-1252 on
// disk, CR LF after every line; UTF-8 strings in the program.
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True only for an existing regular file (not for "" or a folder).
bool fileExists(const std::string& path);

// UTF-8 to Windows-1252: characters the code page cannot hold, and bytes that
// are not valid UTF-8, become '?'.
std::string utf8ToCp1252(std::string_view utf8);
// Windows-1252 to UTF-8; the five bytes the code page leaves unassigned map to
// the control characters of the same number.
std::string cp1252ToUtf8(std::string_view cp1252);

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
bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(TextFileWriter&)>& write);

}  // namespace platform
