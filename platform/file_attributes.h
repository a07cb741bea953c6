#pragma once
// The extended attributes a replaced file keeps from the file it replaces.
#include "platform/replace_hooks.h"
#include "platform/write_result.h"

namespace platform {

// Gives the file open at `to` the kept attributes of the one open at `from`:
// each `user.*` attribute this process may read, and the access ACL
// (`system.posix_acl_access`), which `to` then has exactly when `from` has
// one (an ACL `to` inherited from its folder goes). A `user.*` attribute that
// cannot be read (a file without read permission) is left behind; an ACL
// that cannot be kept, or an attribute that cannot be set, fails with the
// system's reason. `security.*` and `trusted.*` are the system's to give, as
// to any new file, and are not copied. `from` must not be an O_PATH
// descriptor.
WriteResult copyKeptAttributes(int from, int to);

}  // namespace platform
