#pragma once
// The plug-in's entry class as the host creates it: one plug-in instance
// with its main window, its effect types, its command server and the host's
// view of the main window.
#include <cstdint>
#include <memory>

#include "core/instance_options.h"
#include "core/kavrel.h"
#include "core/mx_commands.h"
#include "main_window/main_window.h"
#include "typelib/orva_typelib.h"

namespace kavrel {

// Loads, shows and unloads the main window for the host.
class MainWindowHost : public orva::IExternalWindow {
  public:
    explicit MainWindowHost(MainWindow& window) : window_(window) {}
    void loadWindow() override;
    void showWindow() override;
    void unloadWindow() override;

  private:
    MainWindow& window_;
};

class clsOrvaPlugIn : public orva::IOrvaPlugin {
  public:
    explicit clsOrvaPlugIn(const InstanceOptions& options);
    ~clsOrvaPlugIn() override;
    clsOrvaPlugIn(const clsOrvaPlugIn&) = delete;
    clsOrvaPlugIn& operator=(const clsOrvaPlugIn&) = delete;

    Kavrel& kavrel() { return *kavrel_; }
    const Kavrel& kavrel() const { return *kavrel_; }
    MainWindow& mainWindow() { return *mainWindow_; }

    bool Init(orva::OrvaPluginHelper& helper) override;
    orva::ModuleInfo getModuleInfo() override;
    void hostMessage(int32_t message, int32_t param) override;
    void Term() override;

  private:
    // The main window goes before the instance whose desktop it lives on.
    std::unique_ptr<Kavrel> kavrel_;
    std::unique_ptr<MainWindow> mainWindow_;
    MainWindowHost windowHost_;
    MxCommands commands_;
};

}  // namespace kavrel
