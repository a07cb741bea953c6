#pragma once
// The file `--dmx-log` names: written as the show runs, so opened in place,
// and only when it is a file the log may empty.
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

#include "platform/file_replace.h"
#include "platform/unique_fd.h"

namespace kavrel {

// Writes to a descriptor it owns. A failed write fails the stream, which then
// writes nothing more; the caller sees it at the final flush, and error()
// says why.
class FdWriteBuffer : public std::streambuf {
  public:
    explicit FdWriteBuffer(platform::UniqueFd fd);
    ~FdWriteBuffer() override;
    FdWriteBuffer(const FdWriteBuffer&) = delete;
    FdWriteBuffer& operator=(const FdWriteBuffer&) = delete;

    // The error number of the first write that failed; 0 while none has.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool writeOut();

    platform::UniqueFd fd_;
    int error_ = 0;
    char buffer_[8192];
};

// Opens the DMX log for writing, emptied. Only a regular file with a write
// bit, or a new one, is taken. What is at `path` is looked at first and a
// FIFO, a device, a folder or a file without a write bit is refused without
// being opened; what was opened is checked again, before it is emptied
// (opening without blocking keeps a FIFO put there meanwhile from waiting for
// a reader). The script itself (`script`, named or on standard input) is
// refused the same two ways. Throws UsageError naming the problem, with the
// system's reason when the system gives one.
std::unique_ptr<FdWriteBuffer> openDmxLog(const std::string& path,
                                          const std::optional<platform::FileIdentity>& script);

}  // namespace kavrel
