#pragma once
// Makes the Kavrel plug-in for the host.
#include <memory>

#include "host/hosted_plugin.h"

namespace kavrel {

std::unique_ptr<orva::HostedPlugin> createKavrelPlugin(const orva::StartOptions& options);

}  // namespace kavrel
