#pragma once
// Runs the real kavrel program in a folder, or another command, and collects
// what it printed.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace hosttest {

struct ProgramRun {
    int status = -1;
    std::string output;  // standard output and standard error
};

// Runs a shell command line, with no standard input.
inline ProgramRun runCommand(const std::string& command) {
    const std::string cmd = command + " 2>&1 </dev/null";
    ProgramRun run;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) run.output.append(buf.data(), n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// `args` go to the shell as written (the script path among them).
inline ProgramRun runKavrelIn(const std::filesystem::path& dir, const std::string& args) {
    return runCommand("cd '" + dir.string() + "' && '" KAVREL_BINARY "' " + args);
}

}  // namespace hosttest
