#pragma once
// Writing a whole buffer to a file descriptor.
#include <cstddef>

namespace platform {

// Writes all `size` bytes, going on after interrupted and partial writes;
// false at the first write that fails or writes nothing.
bool writeAll(int fd, const char* data, size_t size);

}  // namespace platform
