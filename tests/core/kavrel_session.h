#pragma once
// A plug-in instance opened by the stand-in host exactly as the kavrel
// program opens it (created, initialised, its main window loaded and shown),
// and closed by the host at the end (window unloaded, plug-in terminated).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/kavrel.h"
#include "host/kavrel_plugin.h"
#include "host/orva_host.h"
#include "main_window/matrix_form.h"
#include "platform/driver/user_driver.h"

namespace kavrel::testing {

inline orva::StartOptions gridOptions(int cols, int rows) {
    orva::StartOptions o;
    o.gridCols = cols;
    o.gridRows = rows;
    return o;
}

class KavrelSession {
  public:
    explicit KavrelSession(const orva::StartOptions& options = {})
        : host(&orva::createKavrelPlugin),
          opened_(open(options)),
          info(host.moduleInfo()),
          driver(plugin().desktop()) {}
    ~KavrelSession() {
        if (host.isOpen()) host.close();
    }
    KavrelSession(const KavrelSession&) = delete;
    KavrelSession& operator=(const KavrelSession&) = delete;

    orva::HostedPlugin& plugin() { return host.plugin(); }
    clsOrvaPlugIn& entry() {
        return static_cast<orva::KavrelHostedPlugin&>(host.plugin()).plugin();
    }
    Kavrel& k() { return entry().kavrel(); }
    SharedState& state() { return k().state(); }
    MatrixForm& form() { return entry().mainWindow().form(); }
    MatrixForm* loadedForm() { return entry().mainWindow().loadedForm(); }
    // Every DMX value the plug-in handed the host, in order, repeats included.
    const std::vector<std::pair<int32_t, uint8_t>>& dmxCalls() { return host.dmx().calls(); }
    void wait(int64_t ms) { plugin().desktop().loop().wait(ms); }
    std::string prop(const std::string& target) { return driver.property(target); }
    const std::vector<std::string>& messages() { return plugin().desktop().messages(); }

    orva::OrvaHost host;

  private:
    bool open(const orva::StartOptions& options) {
        host.dmx().recordCalls(true);
        host.open(options);
        return true;
    }
    bool opened_;

  public:
    orva::ModuleInfo info;
    platform::UserDriver driver;
};

}  // namespace kavrel::testing
