#pragma once
// One plug-in instance: its desktop (event loop, locale, random numbers, the
// windows), the shared state, the effect types, the editors' hooks, the
// message window and the host's helper. The routines every part of the
// system calls (mix, message, DMX output, beat) live here. The main window
// belongs to a layer above and is reached through its link.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/editor_hooks.h"
#include "core/effect.h"
#include "core/effect_services.h"
#include "core/instance_options.h"
#include "core/shared_state.h"
#include "platform/windows/desktop.h"
#include "typelib/orva_typelib.h"

namespace kavrel {

class MainWindowLink;
class MsgForm;
class MxColorMixer;

class Kavrel : public EffectServices {
  public:
    explicit Kavrel(const InstanceOptions& options);
    ~Kavrel() override;
    Kavrel(const Kavrel&) = delete;
    Kavrel& operator=(const Kavrel&) = delete;

    platform::Desktop& desktop() override { return desktop_; }
    SharedState& state() override { return state_; }
    const SharedState& state() const { return state_; }
    EffectRegistry& effects() override { return effects_; }
    EditorHooks& editors() override { return editors_; }
    const InstanceOptions& options() const { return options_; }

    // Kept from Init to Term; null outside.
    orva::OrvaPluginHelper* pluginHelper = nullptr;
    // Set once a grid is in force (the first load of the main window, or a
    // loaded configuration); later loads of the main window keep it.
    bool gridInForce = false;

    // The main window's owner; it outlives every call that reaches it.
    void attachMainWindow(MainWindowLink* link) { mainWindow_ = link; }
    MsgForm& msgForm();

    // Recomputes the output frame from both banks by the fader position and
    // the current fade type; the ColorFade colour is read from the main
    // window at every mix.
    void mixMatrix(double fader) override;
    // The same for one light.
    void mixMatrixStep(double fader, int x, int y) override;
    // Shows the text in the message window, centred over the main window,
    // modal until its OK. A message while one waits replaces its text.
    void showMessage(const std::string& text) override;
    BankContext* bank(BankId id) override;
    platform::Window* mainWindow() override;
    MxColorMixer& colorMixer() override;
    // Hands the host's DMX output every channel that changed since last sent.
    void sendDmxFrame();
    // A beat from the host or the beat command: reaches each bank whose beat
    // flag is set.
    void runBeat();

  private:
    uint32_t fadeColor();

    platform::Desktop desktop_;
    InstanceOptions options_;
    SharedState state_;
    // The hooks outlive the effect types that registered in them.
    EditorHooks editors_;
    EffectRegistry effects_;
    MainWindowLink* mainWindow_ = nullptr;
    // The changed channels of the last send; kept so that sends allocate
    // nothing once it has grown.
    std::vector<std::pair<int32_t, uint8_t>> dmxChanges_;
    std::unique_ptr<platform::FormSlot<MsgForm>> msgSlot_;
    std::unique_ptr<platform::FormSlot<MxColorMixer>> mixerSlot_;
    EditorHooks::Registration mixerHook_;
};

}  // namespace kavrel
