#pragma once
// The file `--dmx-log` names: written as the show runs, so opened in place,
// and only when it is a file the log may empty.
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

#include "platform/files/file_identity.h"
#include "platform/files/unique_fd.h"

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

    // Writes out what is buffered and closes the descriptor: false when
    // either failed (a write error the system reports only at close shows
    // here), and error() says why. Nothing is written after.
    bool close();
    // The error number of the first write or close that failed; 0 while none has.
    int error() const { return error_; }
    // The descriptor written to; -1 once closed.
    int fd() const { return fd_.get(); }

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
// bit, or a new one, is taken: `path` is reached and opened as
// platform::openForWriting does, so a FIFO, a device, a folder, a file
// without a write bit, the script itself (`script`, named or on standard
// input) or another user's file in a shared sticky folder is refused
// without being opened, and what is opened is the file looked at. Throws
// UsageError naming the problem, with the system's reason when the system
// gives one.
std::unique_ptr<FdWriteBuffer> openDmxLog(const std::string& path,
                                          const std::optional<platform::FileIdentity>& script);

}  // namespace kavrel
