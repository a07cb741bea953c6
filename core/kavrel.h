#pragma once
// One plug-in instance: its desktop (event loop, locale, random numbers, the
// windows), the shared state, the main window and the message window, the
// effect types, the editors' hooks, the command server and the host's helper.
// The routines every part of the system calls (mix, message, DMX output,
// beat) live here.
#include <memory>
#include <string>

#include "core/editor_hooks.h"
#include "core/effect_table.h"
#include "core/shared_state.h"
#include "host/hosted_plugin.h"
#include "platform/desktop.h"

namespace kavrel {

class MatrixForm;
class MsgForm;
class MxCommands;
class MainWindowHost;

class Kavrel {
  public:
    explicit Kavrel(const orva::StartOptions& options);
    ~Kavrel();
    Kavrel(const Kavrel&) = delete;
    Kavrel& operator=(const Kavrel&) = delete;

    platform::Desktop& desktop() { return desktop_; }
    const orva::StartOptions& options() const { return options_; }
    EffectTable& effects() { return effects_; }
    EditorHooks& editors() { return editors_; }

    SharedState state;
    // Kept from Init to Term; null outside.
    orva::OrvaPluginHelper* pluginHelper = nullptr;
    // Set once a grid is in force (the first load of the main window, or a
    // loaded configuration); later loads of the main window keep it.
    bool gridInForce = false;

    // The main window's holder, made once; accessing the window loads it.
    void createMainWindow();
    MatrixForm& matrixForm();
    // The main window while it is loaded, else null; never loads it.
    MatrixForm* loadedMatrixForm();
    MsgForm& msgForm();
    // The command server and the host's view of the main window, made once.
    MxCommands& commands();
    MainWindowHost& mainWindowHost();

    // Recomputes the output frame from both banks by the fader position and
    // the current fade type; the ColorFade colour is read from the main
    // window at every mix.
    void mixMatrix(double fader);
    // The same for one light.
    void mixMatrixStep(double fader, int x, int y);
    // Shows the text in the message window, centred over the main window,
    // modal until its OK. A message while one waits replaces its text.
    void showMessage(const std::string& text);
    // Hands the host's DMX output every channel that changed since last sent.
    void sendDmxFrame();
    // A beat from the host or the beat command: reaches each bank whose beat
    // flag is set.
    void runBeat();

  private:
    uint32_t fadeColor();

    platform::Desktop desktop_;
    orva::StartOptions options_;
    EffectTable effects_;
    EditorHooks editors_;
    std::unique_ptr<platform::FormSlot<MatrixForm>> mainSlot_;
    std::unique_ptr<platform::FormSlot<MsgForm>> msgSlot_;
    std::unique_ptr<MxCommands> commands_;
    std::unique_ptr<MainWindowHost> windowHost_;
};

}  // namespace kavrel
