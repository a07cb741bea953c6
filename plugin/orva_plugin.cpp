#include "plugin/orva_plugin.h"

#include "effects/registry.h"
#include "main_window/matrix_form.h"

namespace kavrel {

void MainWindowHost::loadWindow() {
    window_.form();
}

void MainWindowHost::showWindow() {
    window_.form().Show(false);
}

void MainWindowHost::unloadWindow() {
    if (MatrixForm* form = window_.loadedForm()) form->Unload();
}

clsOrvaPlugIn::clsOrvaPlugIn(const InstanceOptions& options)
    : kavrel_(std::make_unique<Kavrel>(options)),
      mainWindow_(std::make_unique<MainWindow>(*kavrel_)),
      windowHost_(*mainWindow_),
      commands_(*kavrel_) {
    registerEffects(kavrel_->effects(), *kavrel_);
}

clsOrvaPlugIn::~clsOrvaPlugIn() {
    mainWindow_.reset();
}

bool clsOrvaPlugIn::Init(orva::OrvaPluginHelper& helper) {
    kavrel_->pluginHelper = &helper;
    kavrel_->state().bankA.beat = false;
    kavrel_->state().bankB.beat = false;
    return true;
}

orva::ModuleInfo clsOrvaPlugIn::getModuleInfo() {
    orva::ModuleInfo info;
    info.name = "Kavrel";
    info.window = &windowHost_;
    info.commands = &commands_;
    info.hostMessages = {orva::kMessageBeat};
    return info;
}

void clsOrvaPlugIn::hostMessage(int32_t message, int32_t param) {
    (void)param;
    if (message == orva::kMessageBeat) kavrel_->runBeat();
}

void clsOrvaPlugIn::Term() {
    kavrel_->pluginHelper = nullptr;
}

}  // namespace kavrel
