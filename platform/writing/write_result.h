#pragma once
// What writing a file came to: done, or why not, in words a message can end
// with ("No space left on device", "it is read-only").
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "platform/files/file_identity.h"

namespace platform {

// Why a file was not written as it was found: nothing was made or changed.
enum class Refusal : uint8_t {
    NotRegular,        // a folder, FIFO, device or socket
    ReadOnly,          // no write permission bit at all
    NotWritable,       // write bits, but none that lets this user write it
    OthersFile,        // another user's file in a folder everyone may write to
    OthersLink,        // reached through another user's link in such a folder
    UnknownOwner,      // in such a folder, owned by an id this user namespace does not map
    UnknownLinkOwner,  // reached through a link in such a folder owned by such an id
    Deleted,           // reached by the kernel, but no name leads to it any more
    Unchangeable,      // marked immutable or append-only
    MountPoint,        // something is mounted on its name
    InUse,             // one of the files the caller protects
};

class WriteResult {
  public:
    // Done.
    WriteResult() = default;
    // Failed with the system's error number `error` (errno).
    static WriteResult failed(int error) { return WriteResult(error == 0 ? kUnknown : error); }
    // Failed for a reason the system gives no number for; a string literal,
    // so that there always is one.
    template <size_t N>
    static WriteResult failed(const char (&why)[N]) {
        WriteResult r;
        r.why_ = why;
        return r;
    }
    // Failed with `error`, in words of our own that say more than the
    // system's ("its old content cannot be kept aside: No space left on
    // device").
    static WriteResult described(int error, std::string why) {
        WriteResult r(error == 0 ? kUnknown : error);
        r.text_ = std::move(why);
        return r;
    }
    // The same failure, with what became of the file said after its reason:
    // a failure that changed the file says how.
    WriteResult noting(std::string aftermath) && {
        note_ = std::move(aftermath);
        return std::move(*this);
    }
    // Refused as found; `file` is the protected file it is, for InUse.
    static WriteResult refused(Refusal why, std::optional<FileIdentity> file = std::nullopt) {
        WriteResult r;
        r.refusal_ = why;
        r.inUse_ = file;
        return r;
    }

    explicit operator bool() const { return error_ == 0 && why_ == nullptr && !refusal_; }
    // The system's error number; 0 when done or failed for a reason of our own.
    int error() const { return error_; }
    // Why the file was refused as found; nullopt when it was not refused.
    std::optional<Refusal> refusal() const { return refusal_; }
    // The protected file the target was, when refused as InUse.
    std::optional<FileIdentity> fileInUse() const { return inUse_; }
    // Why it failed; empty when it did not.
    std::string reason() const {
        const std::string why = bareReason();
        return note_.empty() ? why : why + "; " + note_;
    }

  private:
    // A failure that left no error number behind: reported as an I/O error.
    static constexpr int kUnknown = EIO;
    explicit WriteResult(int error) : error_(error) {}
    std::string bareReason() const {
        if (refusal_) return refusalText(*refusal_);
        if (why_ != nullptr) return why_;
        if (!text_.empty()) return text_;
        return error_ == 0 ? std::string() : std::generic_category().message(error_);
    }
    static const char* refusalText(Refusal why) {
        switch (why) {
            case Refusal::NotRegular:
                return "it is not a regular file";
            case Refusal::ReadOnly:
                return "it is read-only";
            case Refusal::NotWritable:
                return "this user may not write it";
            case Refusal::OthersFile:
                return "it is another user's file in a folder everyone may write to";
            case Refusal::OthersLink:
                return "it is reached through a link another user made in a folder everyone may "
                       "write to";
            case Refusal::UnknownOwner:
                return "it is in a folder everyone may write to, and its owner cannot be told "
                       "apart in this user namespace";
            case Refusal::UnknownLinkOwner:
                return "it is reached through a link in a folder everyone may write to, whose "
                       "owner cannot be told apart in this user namespace";
            case Refusal::Deleted:
                return "it has been deleted";
            case Refusal::Unchangeable:
                return "it is immutable or append-only";
            case Refusal::MountPoint:
                return "it is a mount point";
            case Refusal::InUse:
                return "it is in use and must not be replaced";
        }
        return "it may not be written";
    }

    int error_ = 0;
    const char* why_ = nullptr;
    std::optional<Refusal> refusal_;
    std::optional<FileIdentity> inUse_;
    std::string text_;
    std::string note_;
};

// What a message says of a write that did not happen, after `named` (the
// file's name as the message shows it): "cannot write NAMED: REASON", the
// reason ending with what became of the file when the failure changed it.
inline std::string writeFailure(const std::string& named, const WriteResult& result) {
    return "cannot write " + named + ": " + result.reason();
}

}  // namespace platform
