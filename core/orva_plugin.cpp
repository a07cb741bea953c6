#include "core/orva_plugin.h"

#include "core/matrix_form.h"
#include "core/mx_commands.h"
#include "core/state_vars.h"

namespace kavrel {

void MainWindowHost::loadWindow() {
    kavrel_.matrixForm();
}

void MainWindowHost::showWindow() {
    kavrel_.matrixForm().Show(false);
}

void MainWindowHost::unloadWindow() {
    if (MatrixForm* form = kavrel_.loadedMatrixForm()) form->Unload();
}

clsOrvaPlugIn::clsOrvaPlugIn(const orva::StartOptions& options)
    : kavrel_(std::make_unique<Kavrel>(options)) {}

clsOrvaPlugIn::~clsOrvaPlugIn() = default;

bool clsOrvaPlugIn::Init(orva::OrvaPluginHelper& helper) {
    kavrel_->pluginHelper = &helper;
    kavrel_->state.bankA.beat = false;
    kavrel_->state.bankB.beat = false;
    return true;
}

orva::ModuleInfo clsOrvaPlugIn::getModuleInfo() {
    kavrel_->createMainWindow();
    orva::ModuleInfo info;
    info.name = "Kavrel";
    info.window = &kavrel_->mainWindowHost();
    info.commands = &kavrel_->commands();
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

platform::Desktop& clsOrvaPlugIn::desktop() {
    return kavrel_->desktop();
}

std::optional<std::string> clsOrvaPlugIn::readVar(std::string_view name) const {
    return readStateVar(kavrel_->state, name);
}

std::optional<uint32_t> clsOrvaPlugIn::framePixel(char frame, int x, int y) const {
    const SharedState& s = kavrel_->state;
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

int clsOrvaPlugIn::gridCols() const {
    return kavrel_->state.gridCols();
}
int clsOrvaPlugIn::gridRows() const {
    return kavrel_->state.gridRows();
}

}  // namespace kavrel
