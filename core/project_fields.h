#pragma once
// The lines of a ".Kavrel" project file as effect types write and read their
// own fields: one value a line, numbers and truth values in the user's
// locale, texts as they stand. The writer hands each line (UTF-8, without its
// line end) on as it is made; the reader walks the lines of a file held in memory and stops
// at the first line that does not fit, naming it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/locale.h"

namespace kavrel {

// Takes one line; false when it could not, which ends the writing.
using LineSink = std::function<bool(std::string_view line)>;

class FieldWriter {
  public:
    // `cols` x `rows`: the grid in force (a painted picture is written at it).
    FieldWriter(const platform::Locale& locale, int cols, int rows, LineSink sink);

    int cols() const { return cols_; }
    int rows() const { return rows_; }

    // A text value; a CR or LF inside it becomes a blank, so every value
    // stays on its line.
    void text(std::string_view value);
    void whole(int64_t value);
    // A colour as the signed 32-bit number of its 0x00BBGGRR value.
    void color(uint32_t value);
    // A Double in the locale's form.
    void number(double value);
    // True/False in the locale's words (English words for other languages).
    void flag(bool value);
    // Two whole numbers joined by a comma on one line ("12,12", "5,0").
    void pair(int64_t first, int64_t second);

    // False once the sink refused a line; nothing is handed on after that.
    bool ok() const { return ok_; }

  private:
    void put(std::string_view line);

    const platform::Locale& locale_;
    int cols_;
    int rows_;
    LineSink sink_;
    bool ok_ = true;
};

class FieldReader {
  public:
    // `content`: the file's bytes (Windows-1252, CR LF or LF line ends), kept
    // by the caller while reading. `cols` x `rows`: the grid in force.
    FieldReader(std::string_view content, int cols, int rows);

    int cols() const { return cols_; }
    int rows() const { return rows_; }

    // Each read takes the next line; false (and the reader failed) when the
    // file has ended or the line does not fit the field. A failed reader
    // reads nothing more.
    bool text(std::string& out);
    bool int16(int16_t& out);
    bool int32(int32_t& out);
    bool color(uint32_t& out);
    bool number(double& out);
    // True only for "True" or "Wahr"; any other line is False.
    bool flag(bool& out);
    // "w,h": two whole 16-bit numbers around one comma.
    bool pair(int16_t& first, int16_t& second);
    // "d" or "d,b": the second number is 0 when the line has no comma.
    bool pairOptional(int16_t& first, int16_t& second);

    // Fails the reader on the line just read (or the next one) with `what`.
    bool fail(std::string_view what);
    bool failed() const { return failed_; }
    // The 1-based number of the line the failure names, and what was wrong.
    int64_t failedLine() const { return failedLine_; }
    const std::string& failure() const { return failure_; }
    // Lines taken so far.
    int64_t linesRead() const { return lineNo_; }
    // How many of `count` elements of `linesEach` lines the rest of the file
    // can still hold (every line takes at least a byte): storage for a
    // declared count is reserved no further than lines that could fill it.
    size_t room(int64_t count, int64_t linesEach) const;

  private:
    // The next raw line (bytes, line end cut); false at the end of the file.
    bool next(std::string_view& line);
    bool wholeLine(int64_t min, int64_t max, int64_t& out);

    std::string_view content_;
    size_t pos_ = 0;
    int cols_;
    int rows_;
    int64_t lineNo_ = 0;
    bool failed_ = false;
    int64_t failedLine_ = 0;
    std::string failure_;
};

}  // namespace kavrel
