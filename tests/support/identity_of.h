#pragma once
// Which file a path stands for, as the tests compare it with what the code
// opened.
#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/files/file_identity.h"

namespace kavrel_test {

// The file at `path`, symbolic links followed; nullopt when there is none.
inline std::optional<platform::FileIdentity> identityOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return platform::FileIdentity{st.st_dev, st.st_ino};
}

}  // namespace kavrel_test
