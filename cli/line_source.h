#pragma once
// Where a session script's lines come from: a stream (a script file, a test's
// text) or a file descriptor read as it arrives (standard input, driven by
// hand), which keeps the caller's clock going while it waits. Every source
// reads in time linear in its input and refuses a line longer than
// kMaxLineBytes, so endless input without line ends cannot exhaust memory.
#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

namespace kavrel {

constexpr size_t kMaxLineBytes = size_t{1} << 20;

// The input could not be read (a folder given as the script, a read error),
// or a line is longer than kMaxLineBytes.
class LineSourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class LineSource {
  public:
    // Called while the source waits for input; returns how many milliseconds
    // the source may wait before calling it again (negative: as long as input
    // takes).
    using IdleHook = std::function<int()>;

    virtual ~LineSource() = default;
    // The next line without its line end (a carriage return before it is
    // dropped too), and the first without a UTF-8 byte-order mark at its
    // start (as some editors write one); nullopt at the end of input. May be
    // called again from inside `idle`: lines are handed out once each, in
    // order. A stream that fails to read, or a line that is too long, throws
    // LineSourceError.
    virtual std::optional<std::string> next(const IdleHook& idle) = 0;

  protected:
    // Drops what no line holds: the carriage return of a CR LF line end, and
    // a byte-order mark at the start of the input.
    void trimLine(std::string& line);

  private:
    bool first_ = true;
};

class StreamLineSource : public LineSource {
  public:
    explicit StreamLineSource(std::istream& in) : in_(in) {}
    std::optional<std::string> next(const IdleHook& idle) override;

  private:
    std::istream& in_;
};

class FdLineSource : public LineSource {
  public:
    // The descriptor stays open; the caller owns it.
    explicit FdLineSource(int fd) : fd_(fd) {}
    std::optional<std::string> next(const IdleHook& idle) override;

  private:
    std::optional<std::string> takeLine();

    int fd_;
    // Unread input is buffer_[start_..]; bytes before scanned_ hold no line end.
    std::string buffer_;
    size_t start_ = 0;
    size_t scanned_ = 0;
    bool eof_ = false;
};

}  // namespace kavrel
