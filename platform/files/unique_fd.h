#pragma once
// The one owner of a file descriptor: closes it when it goes.
#include <unistd.h>

#include <utility>

namespace platform {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    explicit operator bool() const { return valid(); }

    // Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    // Closes the one held (if any) and takes `fd`. Given the one it holds,
    // it keeps it open: closing it would leave a number that is no longer
    // this owner's, which the next open may give to another file.
    void reset(int fd = -1) {
        if (fd == fd_) return;
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes now; false when the close reports an error (a write that failed
    // to reach the disk shows here).
    bool close() {
        const int fd = release();
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_ = -1;
};

}  // namespace platform
