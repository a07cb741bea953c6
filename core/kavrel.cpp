#include "core/kavrel.h"

#include "core/dmx.h"
#include "core/matrix_form.h"
#include "core/mixer.h"
#include "core/msg_form.h"
#include "core/mx_commands.h"
#include "core/orva_plugin.h"
#include "core/still_effects.h"

namespace kavrel {

Kavrel::Kavrel(const orva::StartOptions& options) : desktop_(options.clock), options_(options) {
    desktop_.setLocale(options.locale);
    desktop_.random().seed(options.randomSeed);
    msgSlot_ = std::make_unique<platform::FormSlot<MsgForm>>(desktop_, "MsgForm");
    registerStillEffects(effects_);
}

// The windows go before the desktop they live on.
Kavrel::~Kavrel() {
    mainSlot_.reset();
    msgSlot_.reset();
}

void Kavrel::createMainWindow() {
    if (!mainSlot_)
        mainSlot_ = std::make_unique<platform::FormSlot<MatrixForm>>(desktop_, "MatrixForm", *this);
}

MatrixForm& Kavrel::matrixForm() {
    createMainWindow();
    return mainSlot_->get();
}

MatrixForm* Kavrel::loadedMatrixForm() {
    if (!mainSlot_) return nullptr;
    MatrixForm* form = mainSlot_->peek();
    return form != nullptr && form->isLoaded() ? form : nullptr;
}

MsgForm& Kavrel::msgForm() {
    return msgSlot_->get();
}

MxCommands& Kavrel::commands() {
    if (!commands_) commands_ = std::make_unique<MxCommands>(*this);
    return *commands_;
}

MainWindowHost& Kavrel::mainWindowHost() {
    if (!windowHost_) windowHost_ = std::make_unique<MainWindowHost>(*this);
    return *windowHost_;
}

uint32_t Kavrel::fadeColor() {
    MatrixForm* form = loadedMatrixForm();
    return form != nullptr ? form->MFadeColor.BackColor() : 0u;
}

void Kavrel::mixMatrix(double fader) {
    mixFrames(state, fader, fadeColor(), desktop_.random());
}

void Kavrel::mixMatrixStep(double fader, int x, int y) {
    mixCell(state, fader, x, y, fadeColor());
}

void Kavrel::showMessage(const std::string& text) {
    MsgForm& box = msgForm();
    box.msgText.setCaption(text);
    if (MatrixForm* main = loadedMatrixForm()) {
        box.setLeft(main->Left() + main->Width() / 2 - box.Width() / 2);
        box.setTop(main->Top() + main->Height() / 2 - box.Height() / 2);
    }
    if (box.isModal() && box.Visible()) {
        // Already waiting for its OK: the new text replaces the old one, and
        // the wait that is running ends with that OK.
        desktop_.messageShown(box, text);
        return;
    }
    box.Show(true);
}

void Kavrel::sendDmxFrame() {
    if (pluginHelper == nullptr) return;
    orva::DmxOutput& output = pluginHelper->dmxOutput();
    for (const auto& [address, value] : collectDmxChanges(state)) output.setChannel(address, value);
}

void Kavrel::runBeat() {
    MatrixForm* form = loadedMatrixForm();
    if (form == nullptr) return;
    if (state.bankA.beat) form->beatStepA();
    if (state.bankB.beat) form->beatStepB();
}

}  // namespace kavrel
