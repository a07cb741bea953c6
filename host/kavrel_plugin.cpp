#include "host/kavrel_plugin.h"

#include "core/state_vars.h"

namespace orva {

namespace {

kavrel::InstanceOptions instanceOptions(const StartOptions& o) {
    kavrel::InstanceOptions i;
    i.clock = o.clock;
    i.locale = o.locale;
    i.gridCols = o.gridCols;
    i.gridRows = o.gridRows;
    i.randomSeed = o.randomSeed;
    i.protectedFiles = o.protectedFiles;
    return i;
}

}  // namespace

KavrelHostedPlugin::KavrelHostedPlugin(const StartOptions& options)
    : plugin_(instanceOptions(options)) {}

std::optional<std::string> KavrelHostedPlugin::readVar(std::string_view name) const {
    return kavrel::readStateVar(plugin_.kavrel().state(), name);
}

std::optional<uint32_t> KavrelHostedPlugin::framePixel(char frame, int x, int y) const {
    const kavrel::SharedState& s = plugin_.kavrel().state();
    if (x < 0 || y < 0 || x >= s.gridCols() || y >= s.gridRows()) return std::nullopt;
    switch (frame) {
        case 'A':
            return s.bankA.frame.rgb(x, y);
        case 'B':
            return s.bankB.frame.rgb(x, y);
        case 'M':
            return s.frameM.rgb(x, y);
        default:
            return std::nullopt;
    }
}

int KavrelHostedPlugin::gridCols() const {
    return plugin_.kavrel().state().gridCols();
}
int KavrelHostedPlugin::gridRows() const {
    return plugin_.kavrel().state().gridRows();
}

std::unique_ptr<HostedPlugin> createKavrelPlugin(const StartOptions& options) {
    return std::make_unique<KavrelHostedPlugin>(options);
}

}  // namespace orva
