#pragma once
// A small plug-in for the host and script-runner tests: one window with a
// control of each kind, a 100 ms timer that counts and sends DMX, a message
// box, a file dialog, two commands and the beat. What it saw goes into a
// record that outlives it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/hosted_plugin.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/common_dialog.h"
#include "platform/windows/desktop.h"
#include "platform/controls/list_view.h"
#include "platform/controls/message_box.h"
#include "platform/controls/option_button.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/slider.h"
#include "platform/controls/text_box.h"
#include "platform/runtime/timer.h"
#include "platform/windows/window.h"

namespace hosttest {

struct FakeRecord {
    std::vector<std::string> calls;  // life-cycle calls in order
    std::vector<int32_t> hostMessages;
    int beats = 0;
    std::string commandOption;
    double fader = 0;
};

class FakePlugin;

class TestForm : public platform::Window {
  public:
    TestForm(platform::Desktop& desktop, FakePlugin& plugin);

    platform::Button& go;   // shows "Hello there" modally
    platform::Button& off;  // disabled
    platform::Button& openFile;
    platform::Button& fail;  // its handler throws half-way, as a plug-in's bug would
    platform::CheckBox& check;
    platform::TextBox& text;
    platform::ComboBox& combo;
    platform::Slider& slider;
    platform::ListView& list;
    platform::OptionButton& opt0;
    platform::OptionButton& opt1;
    platform::PictureBox& pic;
    platform::CommonDialog& cdm;
    platform::Timer ticker;

  protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

  private:
    FakePlugin& plugin_;
};

class FakePlugin : public orva::HostedPlugin,
                   public orva::IExternalWindow,
                   public orva::ICommandServer {
  public:
    FakePlugin(const orva::StartOptions& options, FakeRecord& record, bool wantsBeat);

    bool Init(orva::OrvaPluginHelper& helper) override;
    orva::ModuleInfo getModuleInfo() override;
    void hostMessage(int32_t message, int32_t param) override;
    void Term() override;

    void loadWindow() override;
    void showWindow() override;
    void unloadWindow() override;

    std::vector<orva::CommandInfo> commands() override;
    bool execute(const std::string& key, const std::string& option, double value) override;

    platform::Desktop& desktop() override { return desktop_; }
    std::optional<std::string> readVar(std::string_view name) const override;
    std::optional<uint32_t> framePixel(char frame, int x, int y) const override;
    int gridCols() const override { return options_.gridCols; }
    int gridRows() const override { return options_.gridRows; }

    orva::OrvaPluginHelper* helper() const { return helper_; }
    FakeRecord& record() { return record_; }
    platform::MessageBoxes& boxes() { return boxes_; }

    int ticks = 0;
    bool afterMessage = false;
    std::string file;

  private:
    orva::StartOptions options_;
    FakeRecord& record_;
    bool wantsBeat_;
    orva::OrvaPluginHelper* helper_ = nullptr;
    // Reading the clock through the loop needs a non-const desktop.
    mutable platform::Desktop desktop_;
    platform::MessageBoxes boxes_{desktop_};
    platform::FormSlot<TestForm> form_;
};

// A factory making FakePlugins that report into `record`.
orva::PluginFactory fakeFactory(FakeRecord& record, bool wantsBeat = true);

}  // namespace hosttest
