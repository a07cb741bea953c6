#pragma once
// Reading a whole file at once, with the system's reason when it cannot be.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct FileBytes {
    std::optional<std::string> content;
    bool tooLarge = false;  // it holds more than the limit: nothing is kept
    std::string reason;     // otherwise why it was not read ("No such file or directory")
};

// The bytes of the regular file at `path`, at most `limit` of them. A FIFO
// or device is refused without waiting on it; a folder is refused by the
// system's own words for it.
FileBytes readWholeFile(const std::string& path, uintmax_t limit);

}  // namespace platform
