#include "core/plugin_factory.h"

#include "core/orva_plugin.h"

namespace kavrel {

std::unique_ptr<orva::HostedPlugin> createKavrelPlugin(const orva::StartOptions& options) {
    return std::make_unique<clsOrvaPlugIn>(options);
}

}  // namespace kavrel
