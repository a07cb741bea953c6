#pragma once
// A plug-in instance as the host holds it after start-up: initialised with a
// fake helper that records every DMX call, its main window loaded and shown,
// and a user driver on its desktop.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/kavrel.h"
#include "core/matrix_form.h"
#include "core/orva_plugin.h"
#include "host/orva_typelib.h"
#include "platform/user_driver.h"

namespace kavrel::testing {

struct RecordingDmx : orva::DmxOutput {
    std::vector<std::pair<int32_t, uint8_t>> calls;
    void setChannel(int32_t address, uint8_t value) override { calls.emplace_back(address, value); }
};

struct FakeHelper : orva::OrvaPluginHelper {
    RecordingDmx dmx;
    std::shared_ptr<orva::OrvaProjectInfo> getProjectInfo() override {
        throw orva::HostError("no project");
    }
    orva::DmxOutput& dmxOutput() override { return dmx; }
    int32_t outputChannelCount() override { return 1024; }
};

inline orva::StartOptions gridOptions(int cols, int rows) {
    orva::StartOptions o;
    o.gridCols = cols;
    o.gridRows = rows;
    return o;
}

class KavrelSession {
  public:
    explicit KavrelSession(const orva::StartOptions& options = {}) : plugin(options) {
        plugin.Init(helper);
        info = plugin.getModuleInfo();
        info.window->loadWindow();
        info.window->showWindow();
    }

    Kavrel& k() { return plugin.kavrel(); }
    SharedState& state() { return k().state; }
    MatrixForm& form() { return k().matrixForm(); }
    void wait(int64_t ms) { plugin.desktop().loop().wait(ms); }
    std::string prop(const std::string& target) { return driver.property(target); }
    const std::vector<std::string>& messages() { return plugin.desktop().messages(); }

    FakeHelper helper;
    clsOrvaPlugIn plugin;
    orva::ModuleInfo info;
    platform::UserDriver driver{plugin.desktop()};
};

}  // namespace kavrel::testing
