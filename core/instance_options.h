#pragma once
// What the host decides for a plug-in instance when it creates it.
#include <cstdint>

#include "platform/runtime/event_loop.h"
#include "platform/files/file_identity.h"
#include "platform/runtime/locale.h"

namespace kavrel {

struct InstanceOptions {
    platform::ClockMode clock = platform::ClockMode::Virtual;
    platform::Locale locale = platform::Locale::english();
    // Matrix size in force at start (stands in for a loaded configuration).
    int gridCols = 12;
    int gridRows = 12;
    uint64_t randomSeed = 0x4b617672656cULL;
    // Files a save must not replace: the host reads or writes them meanwhile.
    platform::ProtectedFiles protectedFiles;
};

}  // namespace kavrel
