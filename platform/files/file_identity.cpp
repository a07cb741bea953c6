#include "platform/files/file_identity.h"

#include <sys/stat.h>

namespace platform {

std::optional<FileIdentity> identityOfDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

}  // namespace platform
