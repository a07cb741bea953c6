#pragma once
// The plug-in's entry class as the host creates it, and the host's view of
// the main window.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/kavrel.h"
#include "host/hosted_plugin.h"

namespace kavrel {

// Loads, shows and unloads the main window for the host.
class MainWindowHost : public orva::IExternalWindow {
  public:
    explicit MainWindowHost(Kavrel& kavrel) : kavrel_(kavrel) {}
    void loadWindow() override;
    void showWindow() override;
    void unloadWindow() override;

  private:
    Kavrel& kavrel_;
};

class clsOrvaPlugIn : public orva::HostedPlugin {
  public:
    explicit clsOrvaPlugIn(const orva::StartOptions& options);
    ~clsOrvaPlugIn() override;

    Kavrel& kavrel() { return *kavrel_; }

    bool Init(orva::OrvaPluginHelper& helper) override;
    orva::ModuleInfo getModuleInfo() override;
    void hostMessage(int32_t message, int32_t param) override;
    void Term() override;

    platform::Desktop& desktop() override;
    std::optional<std::string> readVar(std::string_view name) const override;
    std::optional<uint32_t> framePixel(char frame, int x, int y) const override;
    int gridCols() const override;
    int gridRows() const override;

  private:
    std::unique_ptr<Kavrel> kavrel_;
};

}  // namespace kavrel
