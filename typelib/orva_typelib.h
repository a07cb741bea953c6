#pragma once
// What the host application Orva and its plug-ins know of each other: the
// objects the host hands to a plug-in and the interfaces a plug-in implements.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace orva {

// A failing host call.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The host's DMX output: takes channel values by absolute address
// ((universe - 1) * 512 + channel).
class DmxOutput {
  public:
    virtual ~DmxOutput() = default;
    virtual void setChannel(int32_t address, uint8_t value) = 0;
};

// The host's current project file.
class OrvaProjectInfo {
  public:
    virtual ~OrvaProjectInfo() = default;
    // Full path of the project file; empty when there is none.
    virtual std::string getFilePath() = 0;
    // The file-name part of that path.
    virtual std::string getFileName() = 0;
};

// The helper object the host hands to a plug-in at Init.
class OrvaPluginHelper {
  public:
    virtual ~OrvaPluginHelper() = default;
    // Throws HostError when the call fails.
    virtual std::shared_ptr<OrvaProjectInfo> getProjectInfo() = 0;
    virtual DmxOutput& dmxOutput() = 0;
    // Number of output channels the host offers.
    virtual int32_t outputChannelCount() = 0;
};

// A command the plug-in offers the host: an English key, a label the host
// translates, and the choices of its second option ("do", "select").
struct CommandInfo {
    std::string key;
    std::string label;
    std::vector<std::string> options;
};

class ICommandServer {
  public:
    virtual ~ICommandServer() = default;
    virtual std::vector<CommandInfo> commands() = 0;
    // Runs a command; false when the key is unknown.
    virtual bool execute(const std::string& key, const std::string& option, double value) = 0;
};

// The plug-in's main window as the host loads, shows and unloads it.
class IExternalWindow {
  public:
    virtual ~IExternalWindow() = default;
    virtual void loadWindow() = 0;
    virtual void showWindow() = 0;
    virtual void unloadWindow() = 0;
};

struct ModuleInfo {
    std::string name;
    IExternalWindow* window = nullptr;
    ICommandServer* commands = nullptr;
    std::vector<int32_t> hostMessages;  // the host messages the plug-in wants
};

// Host message numbers.
constexpr int32_t kMessageBeat = 9;
constexpr int32_t kMessageBlackout = 14;
constexpr int32_t kMessageViewMode = 31;
constexpr int32_t kMessageFreeze = 35;

class IOrvaPlugin {
  public:
    virtual ~IOrvaPlugin() = default;
    virtual bool Init(OrvaPluginHelper& helper) = 0;
    virtual ModuleInfo getModuleInfo() = 0;
    virtual void hostMessage(int32_t message, int32_t param) = 0;
    virtual void Term() = 0;
};

}  // namespace orva
