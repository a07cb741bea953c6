#pragma once
// Telling a file whose owner this process cannot name: in a user namespace
// that maps only some ids (a container's), the owner or group of a file from
// outside the map shows as the overflow id, which may be an id of the
// namespace's own.
#include <sys/stat.h>

namespace platform {

// Whether the owner or group of a file of status `st` may be one this
// process's user namespace does not map: it shows as the overflow id, and
// the namespace does not map every id (or cannot be read). A file given
// those ids would go to another user, or to none of its own.
bool ownerMayBeUnmapped(const struct stat& st);

// The same for a user id alone: `uid` is the overflow id and the namespace
// does not map every user id. Such an id may stand for anyone, so it is
// never taken for this user or any other named one.
bool userMayBeUnmapped(uid_t uid);

}  // namespace platform
