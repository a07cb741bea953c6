#pragma once
// Reads back, line by line, what platform::TextFileWriter wrote: Windows-1252
// with CR LF (or LF alone) to UTF-8 strings. The program reads its files
// through their own readers; tests check written files with this one.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "platform/text/cp1252.h"

namespace kavrel_test {

class TextFileReader {
  public:
    bool open(const std::string& path) {
        close();
        // An ifstream would open a folder and fail only on reading.
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) return false;
        in_.open(path, std::ios::binary);
        if (!in_.is_open()) return false;
        atEnd_ = in_.peek() == std::ifstream::traits_type::eof();
        return true;
    }
    // The next line without its LF or CR LF; nullopt at the end of the file.
    std::optional<std::string> readLine() {
        if (atEnd_ || !in_.is_open()) return std::nullopt;
        std::string raw;
        std::getline(in_, raw, '\n');
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        atEnd_ = !in_ || in_.peek() == std::ifstream::traits_type::eof();
        return platform::cp1252ToUtf8(raw);
    }
    bool atEnd() const { return atEnd_; }
    void close() {
        if (in_.is_open()) in_.close();
        in_.clear();
        atEnd_ = true;
    }

  private:
    std::ifstream in_;
    bool atEnd_ = true;
};

}  // namespace kavrel_test
