#pragma once
// A plug-in as the stand-in host holds it: the host interfaces plus the
// view of its state the kavrel program and the tests use, and how one is made.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/plugin_probe.h"
#include "platform/runtime/event_loop.h"
#include "platform/files/file_identity.h"
#include "platform/runtime/locale.h"
#include "typelib/orva_typelib.h"

namespace orva {

class HostedPlugin : public IOrvaPlugin, public PluginProbe {};

// What the host decides when it creates a plug-in instance.
struct StartOptions {
    platform::ClockMode clock = platform::ClockMode::Virtual;
    platform::Locale locale = platform::Locale::english();
    // Matrix size in force at start (stands in for a loaded configuration).
    int gridCols = 12;
    int gridRows = 12;
    uint64_t randomSeed = 0x4b617672656cULL;
    // Files the plug-in's saves must not replace (the script being run, the
    // DMX log being written).
    platform::ProtectedFiles protectedFiles;
};

using PluginFactory = std::function<std::unique_ptr<HostedPlugin>(const StartOptions&)>;

}  // namespace orva
