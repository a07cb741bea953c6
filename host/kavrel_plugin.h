#pragma once
// The Kavrel plug-in as the stand-in host holds it: the plug-in's entry
// class behind the host interfaces, with the view of its state that the
// kavrel program and the tests read.
#include <memory>

#include "host/hosted_plugin.h"
#include "plugin/orva_plugin.h"

namespace orva {

class KavrelHostedPlugin : public HostedPlugin {
  public:
    explicit KavrelHostedPlugin(const StartOptions& options);

    kavrel::clsOrvaPlugIn& plugin() { return plugin_; }

    bool Init(OrvaPluginHelper& helper) override { return plugin_.Init(helper); }
    ModuleInfo getModuleInfo() override { return plugin_.getModuleInfo(); }
    void hostMessage(int32_t message, int32_t param) override {
        plugin_.hostMessage(message, param);
    }
    void Term() override { plugin_.Term(); }

    platform::Desktop& desktop() override { return plugin_.kavrel().desktop(); }
    std::optional<std::string> readVar(std::string_view name) const override;
    std::optional<uint32_t> framePixel(char frame, int x, int y) const override;
    int gridCols() const override;
    int gridRows() const override;

  private:
    kavrel::clsOrvaPlugIn plugin_;
};

std::unique_ptr<HostedPlugin> createKavrelPlugin(const StartOptions& options);

}  // namespace orva
