#pragma once
// The stand-in for Orva: the helper object a plug-in gets at Init (project
// information, DMX output, channel count), and the host's side of the plug-in's
// life cycle, host messages and commands.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/hosted_plugin.h"
#include "typelib/orva_typelib.h"

namespace orva {

// The host's DMX output: the last value of every address (0 until set), and a
// log of every value handed over, repeats included, as "MS ADDRESS VALUE" lines.
class HostDmxOutput : public DmxOutput {
  public:
    // `clock` gives the milliseconds the log lines carry.
    explicit HostDmxOutput(std::function<int64_t()> clock) : clock_(std::move(clock)) {}

    // Any address is kept: what the plug-in sends is what a test wants to see.
    void setChannel(int32_t address, uint8_t value) override;
    uint8_t value(int32_t address) const;
    // (address, value) of every address whose value is not 0, ascending.
    std::vector<std::pair<int32_t, uint8_t>> nonZero() const;
    // nullptr: no log. The stream must outlive the output or be reset.
    void setLog(std::ostream* log) { log_ = log; }
    // While on, every value handed over is kept in order, repeats included.
    void recordCalls(bool on) { recording_ = on; }
    const std::vector<std::pair<int32_t, uint8_t>>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

  private:
    // The output's own addresses 0..1024 in place; any other in the map.
    static constexpr int32_t kDirectAddresses = 1025;
    std::function<int64_t()> clock_;
    std::vector<uint8_t> direct_ = std::vector<uint8_t>(kDirectAddresses, 0);
    std::map<int32_t, uint8_t> values_;
    std::ostream* log_ = nullptr;
    bool recording_ = false;
    std::vector<std::pair<int32_t, uint8_t>> calls_;
};

class OrvaHost : public OrvaPluginHelper {
  public:
    static constexpr int32_t kOutputChannels = 1024;

    explicit OrvaHost(PluginFactory factory);
    ~OrvaHost() override;
    OrvaHost(const OrvaHost&) = delete;
    OrvaHost& operator=(const OrvaHost&) = delete;

    // The host's current project file; "" when there is none.
    void setProjectFile(std::string path) { projectFile_ = std::move(path); }
    const std::string& projectFile() const { return projectFile_; }
    // Makes getProjectInfo fail with HostError, as a broken host call would.
    void setProjectInfoFails(bool on) { projectInfoFails_ = on; }

    std::shared_ptr<OrvaProjectInfo> getProjectInfo() override;
    DmxOutput& dmxOutput() override { return dmx_; }
    int32_t outputChannelCount() override { return kOutputChannels; }
    HostDmxOutput& dmx() { return dmx_; }
    const HostDmxOutput& dmx() const { return dmx_; }

    // Creates the plug-in, calls `prepared` with it (so the caller can set up
    // the plug-in's desktop before any of its code runs), initialises it, reads
    // its module information, then loads and shows its main window. Throws
    // HostError when a plug-in is open already or the plug-in refuses.
    void open(const StartOptions& options, const std::function<void(HostedPlugin&)>& prepared = {});
    bool isOpen() const { return plugin_ != nullptr; }
    // Throws HostError when no plug-in is open.
    HostedPlugin& plugin();
    const ModuleInfo& moduleInfo() const { return info_; }
    // Unloads the main window, terminates and releases the plug-in. The plug-in
    // is released even when unloading throws.
    void close();

    // Sends a host message only when the plug-in asked for it in its module
    // information; false when it did not.
    bool sendMessage(int32_t message, int32_t param);
    bool beat() { return sendMessage(kMessageBeat, 0); }

    // Runs a plug-in command through its command server. An empty option takes
    // the command's first option. Throws HostError for an unknown key.
    void runCommand(const std::string& key, const std::string& option, double value);

  private:
    int64_t pluginNow() const;

    PluginFactory factory_;
    std::string projectFile_;
    bool projectInfoFails_ = false;
    HostDmxOutput dmx_;
    ModuleInfo info_;
    // Last member: released first, while the host it calls still exists.
    std::unique_ptr<HostedPlugin> plugin_;
};

}  // namespace orva
