#include "core/kavrel.h"

#include "core/color_mixer.h"
#include "core/dmx.h"
#include "core/main_window_link.h"
#include "core/mixer.h"
#include "core/msg_form.h"

namespace kavrel {

Kavrel::Kavrel(const InstanceOptions& options) : desktop_(options.clock), options_(options) {
    desktop_.setLocale(options.locale);
    desktop_.random().seed(options.randomSeed);
    msgSlot_ = std::make_unique<platform::FormSlot<MsgForm>>(desktop_, "MsgForm");
    mixerSlot_ =
        std::make_unique<platform::FormSlot<MxColorMixer>>(desktop_, "MxColorMixer", state_);
    // Closeall hides the mixer; it has no OK of its own for the edit buttons.
    mixerHook_ = editors_.add(
        EditorHook{"MxColorMixer", [this] { return mixerSlot_->peek(); }, {}, false, true});
}

// The windows go before the desktop they live on.
Kavrel::~Kavrel() {
    mixerSlot_.reset();
    msgSlot_.reset();
}

MsgForm& Kavrel::msgForm() {
    return msgSlot_->get();
}

MxColorMixer& Kavrel::colorMixer() {
    return mixerSlot_->get();
}

BankContext* Kavrel::bank(BankId id) {
    return mainWindow_ != nullptr ? mainWindow_->bank(id) : nullptr;
}

platform::Window* Kavrel::mainWindow() {
    return mainWindow_ != nullptr ? mainWindow_->loadedWindow() : nullptr;
}

uint32_t Kavrel::fadeColor() {
    return mainWindow_ != nullptr ? mainWindow_->fadeColor() : 0u;
}

void Kavrel::mixMatrix(double fader) {
    mixFrames(state_, fader, fadeColor(), desktop_.random());
}

void Kavrel::mixMatrixStep(double fader, int x, int y) {
    mixCell(state_, fader, x, y, fadeColor());
}

void Kavrel::showMessage(const std::string& text) {
    MsgForm& box = msgForm();
    box.msgText.setCaption(text);
    if (platform::Window* main = mainWindow()) {
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
    collectDmxChanges(state_, dmxChanges_);
    for (const auto& [address, value] : dmxChanges_) output.setChannel(address, value);
}

void Kavrel::runBeat() {
    if (mainWindow_ == nullptr || mainWindow_->loadedWindow() == nullptr) return;
    if (state_.bankA.beat) mainWindow_->beatStep(BankId::A);
    if (state_.bankB.beat) mainWindow_->beatStep(BankId::B);
}

}  // namespace kavrel
