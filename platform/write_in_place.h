#pragma once
// Writing new content into a file that is kept, where replacing it would
// change its owner: not atomic, so everything that can fail early does.
#include "platform/replace_hooks.h"
#include "platform/write_result.h"

namespace platform {

// Makes the file open for writing at `to` (its offset at the start) hold
// what the file open for reading at `from` holds, byte for byte: reserves the
// new length first (where the file system can), so that a full disk or quota
// fails before the first byte is overwritten, then copies, cuts it to length
// and flushes it. A failure after the first byte is written leaves `to` part
// old, part new.
WriteResult overwriteWith(int from, int to);

}  // namespace platform
