#include "host/orva_host.h"

#include <algorithm>

#include "platform/windows/desktop.h"

namespace orva {

namespace {
class ProjectInfo : public OrvaProjectInfo {
  public:
    explicit ProjectInfo(std::string path) : path_(std::move(path)) {}
    std::string getFilePath() override { return path_; }
    // Separators of either kind end the folder part, as the file dialogs see it.
    std::string getFileName() override {
        const size_t sep = path_.find_last_of("/\\");
        return sep == std::string::npos ? path_ : path_.substr(sep + 1);
    }

  private:
    std::string path_;
};
}  // namespace

void HostDmxOutput::setChannel(int32_t address, uint8_t value) {
    if (recording_) calls_.emplace_back(address, value);
    // Every value is logged, a repeat too: what the plug-in sends is observable.
    if (address >= 0 && address < kDirectAddresses)
        direct_[static_cast<size_t>(address)] = value;
    else if (value == 0)
        values_.erase(address);
    else
        values_[address] = value;
    if (log_) *log_ << clock_() << ' ' << address << ' ' << static_cast<int>(value) << '\n';
}

uint8_t HostDmxOutput::value(int32_t address) const {
    if (address >= 0 && address < kDirectAddresses) return direct_[static_cast<size_t>(address)];
    auto it = values_.find(address);
    return it == values_.end() ? 0 : it->second;
}

std::vector<std::pair<int32_t, uint8_t>> HostDmxOutput::nonZero() const {
    std::vector<std::pair<int32_t, uint8_t>> out;
    auto it = values_.begin();
    for (; it != values_.end() && it->first < 0; ++it) out.emplace_back(*it);
    for (int32_t a = 0; a < kDirectAddresses; ++a)
        if (direct_[static_cast<size_t>(a)] != 0)
            out.emplace_back(a, direct_[static_cast<size_t>(a)]);
    for (; it != values_.end(); ++it) out.emplace_back(*it);
    return out;
}

OrvaHost::OrvaHost(PluginFactory factory)
    : factory_(std::move(factory)), dmx_([this] { return pluginNow(); }) {}

OrvaHost::~OrvaHost() = default;

int64_t OrvaHost::pluginNow() const {
    return plugin_ ? plugin_->desktop().loop().now() : 0;
}

std::shared_ptr<OrvaProjectInfo> OrvaHost::getProjectInfo() {
    if (projectInfoFails_) throw HostError("getProjectInfo failed");
    return std::make_shared<ProjectInfo>(projectFile_);
}

HostedPlugin& OrvaHost::plugin() {
    if (!plugin_) throw HostError("no plug-in is open");
    return *plugin_;
}

void OrvaHost::open(const StartOptions& options,
                    const std::function<void(HostedPlugin&)>& prepared) {
    if (plugin_) throw HostError("the plug-in is open already");
    if (!factory_) throw HostError("no plug-in to create");
    plugin_ = factory_(options);
    if (!plugin_) throw HostError("the plug-in could not be created");
    info_ = ModuleInfo{};
    if (prepared) prepared(*plugin_);
    if (!plugin_->Init(*this)) {
        plugin_.reset();
        throw HostError("the plug-in refused Init");
    }
    info_ = plugin_->getModuleInfo();
    if (!info_.window) throw HostError("the plug-in has no main window");
    info_.window->loadWindow();
    info_.window->showWindow();
}

void OrvaHost::close() {
    if (!plugin_) return;
    struct Release {
        OrvaHost& host;
        ~Release() {
            host.plugin_.reset();
            host.info_ = ModuleInfo{};
        }
    } release{*this};
    if (info_.window) info_.window->unloadWindow();
    plugin_->Term();
}

bool OrvaHost::sendMessage(int32_t message, int32_t param) {
    HostedPlugin& p = plugin();
    const auto& wanted = info_.hostMessages;
    if (std::find(wanted.begin(), wanted.end(), message) == wanted.end()) return false;
    p.hostMessage(message, param);
    return true;
}

void OrvaHost::runCommand(const std::string& key, const std::string& option, double value) {
    plugin();
    if (!info_.commands) throw HostError("the plug-in offers no commands");
    const auto commands = info_.commands->commands();
    auto it = std::find_if(commands.begin(), commands.end(),
                           [&](const CommandInfo& c) { return c.key == key; });
    if (it == commands.end()) throw HostError("unknown command: " + key);
    std::string chosen = option;
    if (chosen.empty() && !it->options.empty()) chosen = it->options.front();
    if (!info_.commands->execute(key, chosen, value)) throw HostError("unknown command: " + key);
}

}  // namespace orva
