#include "core/mx_commands.h"

#include "core/kavrel.h"

namespace kavrel {

std::vector<orva::CommandInfo> MxCommands::commands() {
    // Labels are German; the host translates them.
    return {orva::CommandInfo{kBeatCommand, "Beat senden", {"do"}}};
}

bool MxCommands::execute(const std::string& key, const std::string& option, double value) {
    (void)option;
    (void)value;
    if (key != kBeatCommand) return false;
    kavrel_.runBeat();
    return true;
}

}  // namespace kavrel
