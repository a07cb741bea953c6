#pragma once
// Where a session script's lines come from: a stream (a script file, a test's
// text) or a file descriptor read as it arrives (standard input, driven by
// hand), which keeps the caller's clock going while it waits.
#include <functional>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

namespace kavrel {

// The input could not be read (a folder given as the script, a read error).
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
    // dropped too); nullopt at the end of input. May be called again from
    // inside `idle`: lines are handed out once each, in order. A stream that
    // fails to read throws LineSourceError.
    virtual std::optional<std::string> next(const IdleHook& idle) = 0;
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
    std::string buffer_;
    bool eof_ = false;
};

}  // namespace kavrel
