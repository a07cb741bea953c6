#include "host/kavrel_program.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "host/line_source.h"
#include "host/script_runner.h"

namespace kavrel {

namespace {
constexpr int kMaxGrid = 50;

int gridSide(std::string_view digits, const std::string& whole) {
    int v = 0;
    const char* end = digits.data() + digits.size();
    auto [ptr, ec] = std::from_chars(digits.data(), end, v);
    if (digits.empty() || ec != std::errc() || ptr != end || v < 1 || v > kMaxGrid)
        throw UsageError("--grid takes COLSxROWS with 1.." + std::to_string(kMaxGrid) +
                         " each, not \"" + whole + "\"");
    return v;
}
}  // namespace

std::string usageText() {
    return "usage: kavrel [options] [SCRIPT]\n"
           "Loads the Kavrel plug-in into the stand-in Orva host and plays a session\n"
           "script, one action per line. Without SCRIPT, or with -, the lines are read\n"
           "from standard input as they come.\n"
           "\n"
           "options:\n"
           "  --locale en|de     the user's locale (default en)\n"
           "  --grid COLSxROWS   matrix size at start, 1..50 each (default 12x12)\n"
           "  --project PATH     the host's current project file\n"
           "  --realtime         timers run on the wall clock (default: virtual time)\n"
           "  --dmx-log FILE     write every DMX change as \"MS ADDRESS VALUE\"\n"
           "  --seed N           seed of the random numbers\n"
           "  --help             show this text\n"
           "\n"
           "exit status: 0 when every line ran and every expect held, 1 at the first\n"
           "failed expect, 2 for a script or usage error.\n";
}

ProgramOptions parseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions o;
    bool haveScript = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help") {
            o.help = true;
        } else if (a == "--locale") {
            const std::string& v = value();
            if (v == "en")
                o.start.locale = platform::Locale::english();
            else if (v == "de")
                o.start.locale = platform::Locale::german();
            else
                throw UsageError("--locale takes en or de, not \"" + v + "\"");
        } else if (a == "--grid") {
            const std::string& v = value();
            const size_t x = v.find_first_of("xX");
            if (x == std::string::npos)
                throw UsageError("--grid takes COLSxROWS, not \"" + v + "\"");
            o.start.gridCols = gridSide(std::string_view(v).substr(0, x), v);
            o.start.gridRows = gridSide(std::string_view(v).substr(x + 1), v);
        } else if (a == "--project") {
            o.projectFile = value();
        } else if (a == "--realtime") {
            o.start.clock = platform::ClockMode::Realtime;
        } else if (a == "--dmx-log") {
            o.dmxLog = value();
            if (o.dmxLog.empty()) throw UsageError("--dmx-log needs a file name");
        } else if (a == "--seed") {
            const std::string& v = value();
            uint64_t seed = 0;
            auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
            if (v.empty() || ec != std::errc() || ptr != v.data() + v.size())
                throw UsageError("--seed takes a whole number from 0, not \"" + v + "\"");
            o.start.randomSeed = seed;
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError("unknown option " + a);
        } else {
            if (haveScript) throw UsageError("more than one script: " + o.script + ", " + a);
            haveScript = true;
            o.script = a;
        }
    }
    return o;
}

int runProgram(const std::vector<std::string>& args, const orva::PluginFactory& factory,
               std::ostream& out, std::ostream& err, int stdinFd) {
    try {
        ProgramOptions o;
        try {
            o = parseProgramOptions(args);
        } catch (const UsageError& e) {
            err << "kavrel: " << e.what() << "\n(kavrel --help shows the usage)\n";
            return kExitScriptError;
        }
        if (o.help) {
            out << usageText();
            return kExitOk;
        }
        std::ifstream scriptFile;
        std::unique_ptr<LineSource> lines;
        if (o.script.empty() || o.script == "-") {
            lines = std::make_unique<FdLineSource>(stdinFd);
        } else {
            scriptFile.open(o.script);
            if (!scriptFile) {
                err << "kavrel: cannot read the script " << o.script << '\n';
                return kExitScriptError;
            }
            lines = std::make_unique<StreamLineSource>(scriptFile);
        }
        std::ofstream dmxLog;
        if (!o.dmxLog.empty()) {
            // Opening the log empties it: it must not be the script being read.
            std::error_code same;
            if (scriptFile.is_open() && std::filesystem::equivalent(o.script, o.dmxLog, same)) {
                err << "kavrel: the DMX log " << o.dmxLog << " is the script itself\n";
                return kExitScriptError;
            }
            dmxLog.open(o.dmxLog, std::ios::out | std::ios::trunc);
            if (!dmxLog) {
                err << "kavrel: cannot write the DMX log " << o.dmxLog << '\n';
                return kExitScriptError;
            }
        }
        int status = kExitOk;
        {
            ScriptRunner runner(factory, o.start, out, err);
            runner.host().setProjectFile(o.projectFile);
            if (dmxLog.is_open()) runner.host().dmx().setLog(&dmxLog);
            status = runner.run(*lines);
        }
        if (dmxLog.is_open() && !dmxLog.flush()) {
            err << "kavrel: could not write the DMX log " << o.dmxLog << '\n';
            if (status == kExitOk) status = kExitScriptError;
        }
        return status;
    } catch (const std::exception& e) {
        err << "kavrel: " << e.what() << '\n';
        return kExitScriptError;
    }
}

int runProgram(int argc, char** argv, const orva::PluginFactory& factory) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return runProgram(args, factory, std::cout, std::cerr, 0);
}

}  // namespace kavrel
