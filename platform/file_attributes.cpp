#include "platform/file_attributes.h"

#include <sys/types.h>
#include <sys/xattr.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace platform {

namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr std::string_view kUserPrefix = "user.";
// A value that grows between asking its size and reading it is asked again.
constexpr int kSizeAttempts = 4;

// Reads what `read(buffer, size)` gives into `out`, asking the size first
// (as the xattr calls answer a size of 0); false with errno on failure.
template <class Read>
bool readSized(std::vector<char>& out, Read read) {
    for (int attempt = 0; attempt < kSizeAttempts; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) return false;
        out.resize(static_cast<size_t>(size));
        const ssize_t got = read(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
    errno = ERANGE;
    return false;
}

// No such attribute, or a file system that keeps none.
bool absent(int error) {
    return error == ENODATA || error == EOPNOTSUPP;
}

}  // namespace

WriteResult copyKeptAttributes(int from, int to) {
    std::vector<char> names;
    const bool listed = readSized(names, [&](char* buffer, size_t size) {
        return calls("flistxattr", "", [&] { return ::flistxattr(from, buffer, size); });
    });
    if (!listed && !absent(errno)) return WriteResult::failed(errno);
    std::vector<char> value;
    const auto readValue = [&](const char* name) {
        return readSized(value, [&](char* buffer, size_t size) {
            return calls("fgetxattr", name, [&] { return ::fgetxattr(from, name, buffer, size); });
        });
    };
    const auto setValue = [&](const char* name) {
        return calls("fsetxattr", name,
                     [&] { return ::fsetxattr(to, name, value.data(), value.size(), 0); }) == 0;
    };
    // The ACL first: one the new file inherited from its folder takes room
    // the attributes may need (ext4 keeps them all in the inode's little
    // space, and gave a false ENOSPC). Asked by name rather than taken from
    // the list: the ACL must be kept whatever the list held, and removed
    // where there is none to keep.
    if (readValue(kAccessAcl)) {
        if (!setValue(kAccessAcl)) return WriteResult::failed(errno);
    } else {
        if (!absent(errno)) return WriteResult::failed(errno);
        const bool removed =
            calls("fremovexattr", kAccessAcl, [&] { return ::fremovexattr(to, kAccessAcl); }) == 0;
        if (!removed && !absent(errno)) return WriteResult::failed(errno);
    }
    // The list is names, each ended by a NUL; the last one surely.
    if (!names.empty() && names.back() != '\0') names.push_back('\0');
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        if (std::string_view(name).substr(0, kUserPrefix.size()) != kUserPrefix) continue;
        if (!readValue(name)) {
            // Not readable by this user, or removed meanwhile: left behind.
            if (errno == EACCES || errno == EPERM || absent(errno)) continue;
            return WriteResult::failed(errno);
        }
        if (!setValue(name)) return WriteResult::failed(errno);
    }
    return {};
}

}  // namespace platform
