#pragma once
// The kavrel program: its command line, and a session from the options to the
// exit status. main() only hands over the real plug-in's factory.
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/hosted_plugin.h"

namespace kavrel {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ProgramOptions {
    orva::StartOptions start;
    std::string script;  // "" or "-": standard input
    std::string projectFile;
    std::string dmxLog;  // "": no log
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name; throws UsageError.
ProgramOptions parseProgramOptions(const std::vector<std::string>& args);
std::string usageText();
// "kavrel VERSION", the version the build was configured with.
std::string versionText();

// Runs one session and returns the exit status (0, 1 for a failed expect, 2
// for a script or usage error). Standard input is read from `stdinFd`.
int runProgram(const std::vector<std::string>& args, const orva::PluginFactory& factory,
               std::ostream& out, std::ostream& err, int stdinFd);
int runProgram(int argc, char** argv, const orva::PluginFactory& factory);

}  // namespace kavrel
