#pragma once
// Writing new content into the file that is kept, where replacing it would
// change its owner or no new file can be made beside it. Not atomic, so the
// old content is kept aside first and written back when the copy fails.
#include "platform/writing/replace_hooks.h"
#include "platform/writing/temporary_file.h"
#include "platform/writing/write_path.h"
#include "platform/writing/write_result.h"

namespace platform {

// Makes the file `place` found hold the complete new content `made` (read
// from its start), byte for byte; the file keeps its owner, group, mode, ACL
// and attributes. It is opened anew from what was looked at, for reading and
// writing, and locked whole (an open file description's write lock; another
// save of it waits a few seconds for the lock and then gives up: "another
// program is writing it"; a file system without locks goes on). Then its old
// content is kept aside, in a nameless temporary in its folder or, where the
// folder holds none, in memory up to kMaxSavedBytes, and room for the new
// length is reserved where the file system can: an old file that cannot be
// kept aside, or a disk too full for the new length, fails before a byte is
// overwritten. A copy that fails after it has begun writes the old content
// back and cuts the file to its old length, and says so; only when that fails
// too does the reason say the file may be damaged and name what is left
// beside it (`made` keeps such a name). Blocks reserved past the old end are
// given back on every failure.
WriteResult writeInPlace(const WritePlace& place, TemporaryFile& made);

}  // namespace platform
