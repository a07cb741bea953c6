#include "platform/writing/unmapped_owner.h"

#include <cstdint>
#include <fstream>

namespace platform {

namespace {

// The id the system shows for one its namespace does not map, unless set
// otherwise.
constexpr uint64_t kDefaultOverflow = 65534;
// The count of an identity map of every id.
constexpr uint64_t kEveryId = 4294967295;

uint64_t overflowId(const char* path) {
    uint64_t id = kDefaultOverflow;
    std::ifstream in(path);
    return in >> id ? id : kDefaultOverflow;
}

// Whether the id map at `path` (inside, outside, count on each line) is the
// one line that maps every id to itself, as in the first namespace.
bool mapsEveryId(const char* path) {
    std::ifstream in(path);
    uint64_t inside = 1, outside = 1, count = 0, more = 0;
    return in >> inside >> outside >> count && !(in >> more) && inside == 0 && outside == 0 &&
           count == kEveryId;
}

}  // namespace

bool userMayBeUnmapped(uid_t uid) {
    return uid == overflowId("/proc/sys/kernel/overflowuid") && !mapsEveryId("/proc/self/uid_map");
}

bool ownerMayBeUnmapped(const struct stat& st) {
    return userMayBeUnmapped(st.st_uid) ||
           (st.st_gid == overflowId("/proc/sys/kernel/overflowgid") &&
            !mapsEveryId("/proc/self/gid_map"));
}

}  // namespace platform
