#include "tests/host/fake_plugin.h"

#include <stdexcept>

namespace hosttest {

TestForm::TestForm(platform::Desktop& desktop, FakePlugin& plugin)
    : Window(desktop, "TestForm"),
      go(add<platform::Button>("go")),
      off(add<platform::Button>("off")),
      openFile(add<platform::Button>("openFile")),
      fail(add<platform::Button>("fail")),
      check(add<platform::CheckBox>("check")),
      text(add<platform::TextBox>("text")),
      combo(add<platform::ComboBox>("combo")),
      slider(add<platform::Slider>("slider")),
      list(add<platform::ListView>("list")),
      opt0(add<platform::OptionButton>("opt", 0)),
      opt1(add<platform::OptionButton>("opt", 1)),
      pic(add<platform::PictureBox>("pic")),
      cdm(add<platform::CommonDialog>("cdm")),
      ticker(desktop.loop(), "ticker"),
      plugin_(plugin) {}

void TestForm::Form_Load() {
    std::string caption = "Fake";
    try {
        const std::string name = plugin_.helper()->getProjectInfo()->getFileName();
        if (!name.empty()) caption += " - " + name;
    } catch (const orva::HostError&) {
        caption += " - no project info";
    }
    setCaption(caption);
    off.setEnabled(false);
    combo.AddItem("Color");
    combo.AddItem("Gradient");
    combo.AddItem("Fire");
    list.AddItem("one");
    list.AddItem("two");
    pic.setWidth(150);
    pic.setHeight(150);
    pic.setBackColor(platform::rgb(0, 128, 255));
    go.onClick = [this] {
        plugin_.afterMessage = false;
        plugin_.boxes().MsgBox("Hello there");
        plugin_.afterMessage = true;
    };
    openFile.onClick = [this] { plugin_.file = cdm.ShowOpen() ? cdm.FileName() : "cancelled"; };
    fail.onClick = [this] {
        setCaption("half-way");
        throw std::runtime_error("the handler failed");
    };
    check.onClick = [this] {
        plugin_.helper()->dmxOutput().setChannel(2, check.Value() == 1 ? 255 : 0);
    };
    text.onChange = [this] { setCaption(text.Text()); };
    ticker.setInterval(100);
    ticker.onTimer = [this] {
        ++plugin_.ticks;
        plugin_.helper()->dmxOutput().setChannel(1, static_cast<uint8_t>(plugin_.ticks & 255));
    };
    ticker.setEnabled(true);
}

void TestForm::Form_Unload(int&) {
    ticker.setEnabled(false);
}

FakePlugin::FakePlugin(const orva::StartOptions& options, FakeRecord& record, bool wantsBeat)
    : options_(options),
      record_(record),
      wantsBeat_(wantsBeat),
      desktop_(options.clock),
      form_(desktop_, "TestForm", *this) {
    desktop_.setLocale(options.locale);
}

bool FakePlugin::Init(orva::OrvaPluginHelper& helper) {
    helper_ = &helper;
    record_.calls.push_back("Init");
    return true;
}

orva::ModuleInfo FakePlugin::getModuleInfo() {
    record_.calls.push_back("getModuleInfo");
    orva::ModuleInfo info;
    info.name = "Fake";
    info.window = this;
    info.commands = this;
    info.hostMessages = {orva::kMessageBlackout};
    if (wantsBeat_) info.hostMessages.push_back(orva::kMessageBeat);
    return info;
}

void FakePlugin::hostMessage(int32_t message, int32_t) {
    record_.hostMessages.push_back(message);
    if (message == orva::kMessageBeat) ++record_.beats;
}

void FakePlugin::Term() {
    record_.calls.push_back("Term");
    helper_ = nullptr;
}

void FakePlugin::loadWindow() {
    record_.calls.push_back("loadWindow");
    form_();
}

void FakePlugin::showWindow() {
    record_.calls.push_back("showWindow");
    form_().Show();
}

void FakePlugin::unloadWindow() {
    record_.calls.push_back("unloadWindow");
    form_().Unload();
}

std::vector<orva::CommandInfo> FakePlugin::commands() {
    return {{"send beat signal", "Beat senden", {"do"}}, {"set fader", "Fader", {"select"}}};
}

bool FakePlugin::execute(const std::string& key, const std::string& option, double value) {
    record_.commandOption = option;
    if (key == "send beat signal") {
        ++record_.beats;
        return true;
    }
    if (key == "set fader") {
        record_.fader = value;
        return true;
    }
    return false;
}

std::optional<std::string> FakePlugin::readVar(std::string_view name) const {
    if (name == "ticks") return std::to_string(ticks);
    if (name == "now") return std::to_string(desktop_.loop().now());
    if (name == "modalDepth") return std::to_string(desktop_.loop().modalDepth());
    if (name == "afterMessage") return afterMessage ? "True" : "False";
    if (name == "file") return file;
    if (name == "half") return "0.5";
    if (name == "cell") {
        auto* form = form_.peek();
        return form && form->list.Count() > 0 ? form->list.SubItem(1, 1) : std::string();
    }
    if (name == "decimal") return std::string(1, desktop_.locale().decimal);
    if (name == "seed") return std::to_string(options_.randomSeed);
    return std::nullopt;
}

std::optional<uint32_t> FakePlugin::framePixel(char frame, int x, int y) const {
    if (x < 0 || y < 0 || x >= options_.gridCols || y >= options_.gridRows) return std::nullopt;
    switch (frame) {
        case 'A':
            return platform::rgb(255, 0, 0);
        case 'B':
            return platform::rgb(0, 0, 255);
        case 'M':
            return platform::rgb(x * 16, y * 16, 7);
        default:
            return std::nullopt;
    }
}

orva::PluginFactory fakeFactory(FakeRecord& record, bool wantsBeat) {
    return [&record, wantsBeat](const orva::StartOptions& options) {
        return std::make_unique<FakePlugin>(options, record, wantsBeat);
    };
}

}  // namespace hosttest
