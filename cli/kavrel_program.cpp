#include "cli/kavrel_program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <ext/stdio_filebuf.h>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/dmx_log_file.h"
#include "cli/line_source.h"
#include "cli/script_runner.h"
#include "cli/script_values.h"
#include "platform/text/closest_names.h"
#include "platform/files/file_identity.h"
#include "platform/files/file_read.h"
#include "platform/text/hidden_characters.h"
#include "platform/files/unique_fd.h"

namespace kavrel {

namespace {
int session(const std::vector<std::string>& args, const orva::PluginFactory& factory,
            std::ostream& out, std::ostream& err, int stdinFd, Terminals terminals);

// The script, opened once: the file read is the file whose identity saves
// and the DMX log are kept from, whatever its name stands for later.
struct ScriptFile {
    std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> buffer;
    platform::FileIdentity identity;
};

// Opens the script file as a stream (a pipe, a FIFO or a terminal reads
// too); throws UsageError with the system's reason.
ScriptFile openScript(const std::string& path) {
    platform::OpenedForReading opened = platform::openForReading(path, platform::ReadAs::Stream);
    if (!opened)
        throw UsageError("cannot read the script " + quotedText(path) + ": " + opened.reason());
    const struct stat& st = opened.status;
    // The buffer owns the descriptor from here and closes it.
    return {std::make_unique<__gnu_cxx::stdio_filebuf<char>>(opened.fd.release(), std::ios::in),
            platform::FileIdentity{st.st_dev, st.st_ino}};
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
           "  --dmx-log FILE     write every DMX value sent as \"MS ADDRESS VALUE\"\n"
           "  --seed N           seed of the random numbers\n"
           "  -h, --help         show this text\n"
           "  --version          show the program's version\n"
           "\n"
           "A script may set the grid and locale itself in lines before open:\n"
           "\"grid COLSxROWS\", \"locale en|de\"; they win over the options.\n"
           "\n"
           "exit status: 0 when every line ran and every expect held, 1 at the first\n"
           "failed expect, 2 for a script or usage error or output that could not be\n"
           "written. Lines typed on a terminal are run one by one after a prompt: a\n"
           "mistyped line or a failed expect is reported and the next one read, a\n"
           "failure inside the plug-in ends the session, and the status is that of\n"
           "its worst failure. \"help\" lists the actions, \"quit\" leaves.\n"
           "\n" +
           std::string(kDocsPointer);
}

std::string versionText() {
    return std::string("kavrel ") + KAVREL_VERSION + '\n';
}

namespace {
// An option of the command line: its name and what it does to the options,
// with its value when it takes one.
struct ProgramOption {
    std::string_view name;
    bool takesValue;
    void (*take)(ProgramOptions& o, const std::string& value);
};

constexpr ProgramOption kOptions[] = {
    {"--help", false, [](ProgramOptions& o, const std::string&) { o.help = true; }},
    {"-h", false, [](ProgramOptions& o, const std::string&) { o.help = true; }},
    {"--version", false, [](ProgramOptions& o, const std::string&) { o.version = true; }},
    {"--locale", true,
     [](ProgramOptions& o, const std::string& v) {
         auto locale = parseLocale(v);
         if (!locale) throw UsageError("--locale takes en or de, not " + quotedText(v));
         o.start.locale = *locale;
     }},
    {"--grid", true,
     [](ProgramOptions& o, const std::string& v) {
         auto grid = parseGrid(v);
         if (!grid)
             throw UsageError("--grid takes COLSxROWS with 1.." + std::to_string(kMaxGrid) +
                              " each, not " + quotedText(v));
         o.start.gridCols = grid->first;
         o.start.gridRows = grid->second;
     }},
    {"--project", true, [](ProgramOptions& o, const std::string& v) { o.projectFile = v; }},
    {"--realtime", false,
     [](ProgramOptions& o, const std::string&) { o.start.clock = platform::ClockMode::Realtime; }},
    {"--dmx-log", true,
     [](ProgramOptions& o, const std::string& v) {
         if (v.empty()) throw UsageError("--dmx-log needs a file name");
         o.dmxLog = v;
     }},
    {"--seed", true,
     [](ProgramOptions& o, const std::string& v) {
         uint64_t seed = 0;
         auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
         if (v.empty() || ec != std::errc() || ptr != v.data() + v.size())
             throw UsageError("--seed takes a whole number from 0, not " + quotedText(v));
         o.start.randomSeed = seed;
     }},
};

UsageError unknownOption(const std::string& word) {
    std::vector<std::string> names;
    for (const ProgramOption& option : kOptions) names.emplace_back(option.name);
    return UsageError("unknown option " + quotedText(word) + platform::hiddenCharacterNote(word) +
                      platform::didYouMean(platform::closestNames(word, names), true));
}
}  // namespace

ProgramOptions parseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions o;
    bool haveScript = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                         [&](const ProgramOption& s) { return s.name == a; });
        if (option != std::end(kOptions)) {
            if (option->takesValue && i + 1 >= args.size())
                throw UsageError(quotedText(a) + " needs a value");
            option->take(o, option->takesValue ? args[++i] : std::string());
        } else if (a.size() > 1 && a[0] == '-') {
            throw unknownOption(a);
        } else {
            if (haveScript)
                throw UsageError("more than one script: " + quotedText(o.script) + ", " +
                                 quotedText(a));
            haveScript = true;
            o.script = a;
        }
    }
    // --help and --version stand alone: a word beside them is a mistake.
    if ((o.help || o.version) && args.size() > 1) {
        const auto alone = std::find_if(args.begin(), args.end(), [](const std::string& a) {
            return a == "--help" || a == "-h" || a == "--version";
        });
        const auto other = alone == args.begin() ? args.begin() + 1 : args.begin();
        throw UsageError(*alone + " takes no other argument, not " + quotedText(*other));
    }
    return o;
}

int runProgram(const std::vector<std::string>& args, const orva::PluginFactory& factory,
               std::ostream& out, std::ostream& err, int stdinFd, Terminals terminals) {
    int status = session(args, factory, out, err, stdinFd, terminals);
    // What the script printed is part of its result: losing it is a failure.
    if (!out.flush()) {
        err << "kavrel: cannot write standard output\n";
        status = kExitScriptError;
    }
    return status;
}

namespace {
int session(const std::vector<std::string>& args, const orva::PluginFactory& factory,
            std::ostream& out, std::ostream& err, int stdinFd, Terminals terminals) {
    try {
        ProgramOptions o;
        try {
            o = parseProgramOptions(args);
        } catch (const UsageError& e) {
            err << "kavrel: " << e.what() << "\n(kavrel --help shows the usage)\n";
            return kExitScriptError;
        }
        if (o.help || o.version) {
            out << (o.help ? usageText() : versionText());
            return kExitOk;
        }
        ScriptFile script;
        std::istream scriptStream(nullptr);
        std::unique_ptr<LineSource> lines;
        std::optional<platform::FileIdentity> scriptIdentity;
        const bool fromStdin = o.script.empty() || o.script == "-";
        if (fromStdin) {
            lines = std::make_unique<FdLineSource>(stdinFd);
            scriptIdentity = platform::identityOfDescriptor(stdinFd);
        } else {
            try {
                script = openScript(o.script);
            } catch (const UsageError& e) {
                err << "kavrel: " << e.what() << '\n';
                return kExitScriptError;
            }
            scriptStream.rdbuf(script.buffer.get());
            lines = std::make_unique<StreamLineSource>(scriptStream);
            scriptIdentity = script.identity;
        }
        std::unique_ptr<FdWriteBuffer> dmxBuffer;
        std::ostream dmxLog(nullptr);
        if (!o.dmxLog.empty()) {
            try {
                dmxBuffer = openDmxLog(o.dmxLog, scriptIdentity);
            } catch (const UsageError& e) {
                err << "kavrel: " << e.what() << '\n';
                return kExitScriptError;
            }
            dmxLog.rdbuf(dmxBuffer.get());
        }
        int status = kExitOk;
        {
            ScriptRunner runner(factory, o.start, out, err);
            if (fromStdin && terminals.input) runner.setTyped(terminals.output);
            runner.host().setProjectFile(o.projectFile);
            runner.setScriptFile(scriptIdentity);
            if (dmxBuffer) runner.setDmxLogFile(platform::identityOfDescriptor(dmxBuffer->fd()));
            if (dmxBuffer) runner.host().dmx().setLog(&dmxLog);
            status = runner.run(*lines);
        }
        // Closed here and checked: some file systems report a failed write
        // only when the file is closed.
        if (dmxBuffer && (!dmxLog.flush() || !dmxBuffer->close())) {
            err << "kavrel: cannot write the DMX log " << quotedText(o.dmxLog) << ": "
                << std::generic_category().message(dmxBuffer->error()) << '\n';
            status = kExitScriptError;
        }
        return status;
    } catch (const std::exception& e) {
        err << "kavrel: " << messageText(e.what(), 1000) << '\n';
        return kExitScriptError;
    }
}
}  // namespace

int runProgram(int argc, char** argv, const orva::PluginFactory& factory) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return runProgram(args, factory, std::cout, std::cerr, 0,
                      Terminals{::isatty(0) == 1, ::isatty(1) == 1});
}

}  // namespace kavrel
