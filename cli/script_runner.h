#pragma once
// Plays a session script against a plug-in in the stand-in host: one line at
// a time, each a user's or the host's action, a check or a print. Lines are
// pulled as they are needed, so a modal window's wait runs the lines that
// follow while it is shown.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/line_source.h"
#include "cli/script_values.h"
#include "host/hosted_plugin.h"
#include "host/orva_host.h"
#include "platform/files/file_identity.h"
#include "platform/drawing/surface.h"
#include "platform/driver/user_driver.h"

namespace kavrel {

constexpr int kExitOk = 0;
constexpr int kExitExpectFailed = 1;
constexpr int kExitScriptError = 2;

// Where the script language, and every name a script can use, are described.
constexpr std::string_view kDocsPointer =
    "The script language: docs/script-language.md; the windows, controls,\n"
    "properties and variables a script can name: docs/reference.md.\n";

// The longest `wait`: keeps a mistyped number from running timers for days.
constexpr int64_t kMaxWaitMs = 3'600'000;

class ScriptRunner {
  public:
    // Messages, prints and "ignored:" notes go to `out`; failures, as
    // "kavrel: line N: ...", to `err`.
    ScriptRunner(orva::PluginFactory factory, orva::StartOptions start, std::ostream& out,
                 std::ostream& err);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The host, to set its project file, DMX log or failure switches first.
    orva::OrvaHost& host() { return host_; }
    // The file the script is read from and the DMX log, when there are
    // ones: neither snapshots nor the plug-in's saves replace them.
    void setScriptFile(std::optional<platform::FileIdentity> script) { script_ = script; }
    void setDmxLogFile(std::optional<platform::FileIdentity> log) { dmxLog_ = log; }

    // Makes the session one typed by hand: a line that fails before it acts
    // (an unknown name, bad syntax, a failed expect) is reported and the
    // next one read, `quit` leaves before `open` too, and the exit status is
    // the worst failure's. With `showPrompt`, "kavrel> " is written to `out`
    // before each line is read.
    void setTyped(bool showPrompt) {
        typed_ = true;
        prompt_ = showPrompt;
    }

    // Plays the script to its end or its first failure (typed: to its end
    // or a failure inside the plug-in), then unloads the plug-in (after a
    // failure that stops the script it is released without running more of
    // its code). Returns kExitOk, kExitExpectFailed or kExitScriptError.
    int run(LineSource& lines);

  private:
    using Words = std::vector<std::string>;
    using Action = void (ScriptRunner::*)(const Words&);
    // Whether an action needs the plug-in open.
    enum class Needs {
        Plugin,
        Nothing,
        PluginUnlessTyped,  // typed by hand it runs without one too
    };
    // An action a line may start with: its word, what runs it, its syntax,
    // which `help` lists and a line of bad syntax quotes (an action of several
    // forms gives each, separated by " | "), and whether it needs the plug-in.
    struct Verb {
        std::string_view name;
        Action action;
        std::string_view syntax;
        Needs needs = Needs::Plugin;
    };
    static std::span<const Verb> verbs();
    // The syntax of the line's action.
    static std::string_view syntaxOf(std::string_view verb);
    static std::string_view syntaxOf(const Words& w) {
        return syntaxOf(w.empty() ? std::string_view() : std::string_view(w[0]));
    }
    // The form of action `verb`, or of the line's action, that starts with
    // `start` ("expect var").
    static std::string_view formOf(std::string_view verb, std::string_view start);
    static std::string_view formOf(const Words& w, std::string_view start) {
        return formOf(w.empty() ? std::string_view() : std::string_view(w[0]), start);
    }
    // "bad syntax, expected: " and the syntax of the line's action.
    static ScriptError badSyntax(const Words& w);
    // Throws badSyntax unless the line has min..max words after its first.
    static void checkWords(const Words& w, size_t min, size_t max);
    // Throws the bad syntax of the form that starts with `start` unless the
    // line has min..max words after its first.
    static void checkForm(const Words& w, size_t min, size_t max, std::string_view start);
    // Unwinds after a reported failure, through any modal waits in between.
    // Not a std::exception, so plug-in code that catches those lets it pass.
    struct Stop {};

    // Runs the next line; false at the end of the script.
    bool step();
    void runLine(int number, const std::string& text);
    // Runs `action`, reporting anything it throws as a failure of `line`.
    bool guarded(int line, const std::function<void()>& action);
    void report(int line, int code, const std::string& what);
    // A failure inside the plug-in, which may have left it half-way through
    // a change: it ends even a typed session.
    void reportPluginFailure(int line, const std::string& what);
    int idle();
    void attach(orva::HostedPlugin& plugin);

    void execute(const Words& w);
    void doOpen(const Words& w);
    void doClickLike(const Words& w);
    void doSet(const Words& w);
    void doSelect(const Words& w);
    void doEdit(const Words& w);
    void doSpin(const Words& w);
    void doKey(const Words& w);
    void doMouse(const Words& w);
    void doAnswer(const Words& w);
    void doHold(const Words& w);
    void doBeat(const Words& w);
    void doWait(const Words& w);
    void doCommand(const Words& w);
    void doClose(const Words& w);
    void doExpect(const Words& w);
    void doPrint(const Words& w);
    void doSnapshot(const Words& w);
    void doQuit(const Words& w);
    void doGrid(const Words& w);
    void doLocale(const Words& w);
    void doHelp(const Words& w);

    platform::Desktop& desktop();
    platform::UserDriver driver() { return platform::UserDriver(desktop()); }
    // Prints the "ignored:" note when the target could not take the input,
    // saying why.
    void note(bool taken, const std::string& action, const std::string& target);
    // Why the target takes no input now: its window is not shown (and the
    // click that shows it), a window or dialog waits (and what answers it),
    // it is hidden or disabled; "not available" when no such reason holds.
    std::string whyIgnored(const std::string& target);
    // What answers a modal wait: the lines that answer a common dialog, the
    // clicks that close a message window; "" for another window.
    static std::string answersTo(const platform::InputRefusal& wait);
    // Before a value is typed: a note when it holds characters that cannot
    // be seen or told from a blank, as unknown names are flagged.
    void noteHiddenCharacters(const std::string& action, const std::string& target,
                              const std::string& value);
    // The "ignored:" note with the reason the input was not taken.
    void noteIgnored(const std::string& action, const std::string& target, const std::string& why);
    void expectFrame(const Words& w);
    void expectPixel(const Words& w);
    // The pixels of a picture box or of a window's drawing surface.
    const platform::Surface& surfaceOf(const std::string& target);
    // The script and the DMX log, those of them there are.
    platform::ProtectedFiles protectedFiles() const;
    void printFrame(const Words& w);
    // A state variable's value; throws ScriptError naming the nearest names.
    std::string readVar(const std::string& name);

    orva::StartOptions start_;
    std::ostream& out_;
    std::ostream& err_;
    LineSource* lines_ = nullptr;
    int lineCount_ = 0;     // lines read so far
    bool ended_ = false;    // input ended or `quit` ran
    bool stopped_ = false;  // a failure stopped the script
    int exitCode_ = kExitOk;
    bool typed_ = false;
    bool prompt_ = false;
    bool prompted_ = false;  // a prompt waits for its line
    bool holdMessages_ = false;
    std::string comment_;  // the comment of the line being run, from its '#'
    // What answers the modal wait the script ended in.
    std::string endedWaitAnswers_;
    std::optional<platform::FileIdentity> script_;
    std::optional<platform::FileIdentity> dmxLog_;
    // Last: the plug-in goes first, while the state its hooks reach still exists.
    orva::OrvaHost host_;
};

}  // namespace kavrel
