#pragma once
// What writing a file came to: done, or why not, in words a message can end
// with ("No space left on device", "it is read-only").
#include <cerrno>
#include <string>
#include <system_error>

namespace platform {

class WriteResult {
  public:
    // Done.
    WriteResult() = default;
    // Failed with the system's error number `error` (errno).
    static WriteResult failed(int error) { return WriteResult(error == 0 ? kUnknown : error, {}); }
    // Failed for a reason the system gives no number for.
    static WriteResult refused(const char* why) { return WriteResult(0, why); }

    explicit operator bool() const { return error_ == 0 && why_ == nullptr; }
    // The system's error number; 0 when done or refused for a reason of our own.
    int error() const { return error_; }
    // Why it failed; empty when it did not.
    std::string reason() const {
        if (why_ != nullptr) return why_;
        return error_ == 0 ? std::string() : std::generic_category().message(error_);
    }

  private:
    // A failure that left no error number behind: reported as an I/O error.
    static constexpr int kUnknown = EIO;
    WriteResult(int error, const char* why) : error_(error), why_(why) {}

    int error_ = 0;
    const char* why_ = nullptr;
};

}  // namespace platform
