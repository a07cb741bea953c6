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

// Which of standard input and output are terminals. A script read from a
// terminal is typed by hand: a failed line does not end the session, and a
// prompt is shown when the output is a terminal too.
struct Terminals {
    bool input = false;
    bool output = false;
};

// Runs one session and returns the exit status (0, 1 for a failed expect, 2
// for a script or usage error; typed by hand, the worst of them). Standard
// input is read from `stdinFd`.
int runProgram(const std::vector<std::string>& args, const orva::PluginFactory& factory,
               std::ostream& out, std::ostream& err, int stdinFd, Terminals terminals = {});
int runProgram(int argc, char** argv, const orva::PluginFactory& factory);

}  // namespace kavrel
