#pragma once
// The command server the host drives the plug-in through.
#include <string>
#include <vector>

#include "typelib/orva_typelib.h"

namespace kavrel {

class Kavrel;

class MxCommands : public orva::ICommandServer {
  public:
    static constexpr const char* kBeatCommand = "send beat signal";

    explicit MxCommands(Kavrel& kavrel) : kavrel_(kavrel) {}

    std::vector<orva::CommandInfo> commands() override;
    bool execute(const std::string& key, const std::string& option, double value) override;

  private:
    Kavrel& kavrel_;
};

}  // namespace kavrel
