#include "cli/script_runner.h"

#include <algorithm>
#include <string_view>

#include "cli/script_tokenizer.h"
#include "cli/script_values.h"
#include "platform/closest_names.h"
#include "platform/control.h"
#include "platform/event_loop.h"

namespace kavrel {

namespace {
// While waiting for typed lines in realtime mode the loop is served at least
// this often, so its pollers run even with no timer due.
constexpr int kIdlePollMs = 10;
// Failure messages are cut here: a word in one may come from a line of up to
// a megabyte.
constexpr size_t kMaxMessageBytes = 1000;
}  // namespace

ScriptRunner::ScriptRunner(orva::PluginFactory factory, orva::StartOptions start, std::ostream& out,
                           std::ostream& err)
    : start_(std::move(start)), out_(out), err_(err), host_(std::move(factory)) {}

ScriptRunner::~ScriptRunner() = default;

int ScriptRunner::run(LineSource& lines) {
    lines_ = &lines;
    try {
        while (!stopped_ && step()) {
        }
    } catch (const Stop&) {
    }
    if (!stopped_ && host_.isOpen()) {
        try {
            guarded(lineCount_, [this] { host_.close(); });
        } catch (const Stop&) {
        }
    }
    out_.flush();
    lines_ = nullptr;
    return exitCode_;
}

bool ScriptRunner::step() {
    if (stopped_) throw Stop{};
    if (ended_ || !lines_) return false;
    if (prompt_) {
        out_ << "kavrel> ";
        out_.flush();
        prompted_ = true;
    }
    std::optional<std::string> text;
    try {
        text = lines_->next([this] { return idle(); });
    } catch (const LineSourceError& e) {
        // The source cannot go past the line: even a session typed by hand ends.
        report(lineCount_ + 1, kExitScriptError, e.what());
        stopped_ = true;
        throw Stop{};
    }
    if (prompted_ && !text) {
        // Input ended at the prompt: the shell's next prompt starts a new line.
        out_ << '\n';
    }
    prompted_ = false;
    if (!text) {
        ended_ = true;
        return false;
    }
    const int number = ++lineCount_;
    runLine(number, *text);
    out_.flush();
    return true;
}

void ScriptRunner::runLine(int number, const std::string& text) {
    const auto action = [&] {
        std::string_view comment;
        const Words words = tokenizeScriptLine(text, &comment);
        comment_ = std::string(comment);
        execute(words);
    };
    if (!guarded(number, action) && stopped_) throw Stop{};
}

bool ScriptRunner::guarded(int line, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Stop&) {
        throw;
    } catch (const ExpectFailure& e) {
        report(line, kExitExpectFailed, e.what());
    } catch (const platform::ModalStall& e) {
        if (ended_) {
            // Reported where the script ended, naming the line that is waiting.
            std::string what = "the script ended while window " + e.window + " waits modally";
            if (line != lineCount_) what += " (shown by line " + std::to_string(line) + ")";
            report(lineCount_, kExitScriptError, what);
            // The wait was unwound out of the plug-in's code: run no more of it.
            stopped_ = true;
        } else
            report(line, kExitScriptError, e.what());
    } catch (const std::exception& e) {
        // Script errors, the platform's DriverError and UserActionError, host
        // errors, and whatever else a line's action ran into.
        report(line, kExitScriptError, e.what());
    } catch (...) {
        report(line, kExitScriptError, "unknown failure");
    }
    return false;
}

void ScriptRunner::report(int line, int code, const std::string& what) {
    // The first failure decides; a later one is what unwinding it caused.
    if (stopped_) return;
    if (interactive_) {
        // Typed by hand: the session goes on and ends with its worst failure.
        exitCode_ = std::max(exitCode_, code);
    } else {
        stopped_ = true;
        exitCode_ = code;
    }
    out_.flush();
    err_ << "kavrel: line " << line << ": " << printableText(what, kMaxMessageBytes) << '\n';
    err_.flush();
}

int ScriptRunner::idle() {
    if (!host_.isOpen() || start_.clock != platform::ClockMode::Realtime) return -1;
    int64_t wait = kIdlePollMs;
    const bool ok = guarded(lineCount_, [&] {
        platform::EventLoop& loop = desktop().loop();
        loop.runDue();
        const int64_t next = loop.msUntilNextDue();
        if (next >= 0) wait = std::min<int64_t>(next, kIdlePollMs);
    });
    if (!ok) {
        // The plug-in failed on its own, not a line: even a session typed by
        // hand ends, rather than report the same failure at every tick.
        stopped_ = true;
        throw Stop{};
    }
    return static_cast<int>(wait);
}

platform::Desktop& ScriptRunner::desktop() {
    return host_.plugin().desktop();
}

void ScriptRunner::attach(orva::HostedPlugin& plugin) {
    platform::Desktop& d = plugin.desktop();
    d.onMessage = [this](platform::Window&, const std::string& text) {
        out_ << "message: " << printableText(text) << '\n';
        out_.flush();
    };
    d.autoAcknowledgeMessages = !holdMessages_;
    // A modal wait runs the script's next line as the user's next action.
    d.fallbackActions = [this] { return step(); };
}

void ScriptRunner::note(bool taken, const std::string& action, const std::string& target) {
    if (!taken) noteIgnored(action, target, "not available");
}

void ScriptRunner::noteIgnored(const std::string& action, const std::string& target,
                               const std::string& why) {
    out_ << "ignored: " << printableText(action) << ' ' << printableText(target) << " ("
         << printableText(why) << ")\n";
}

void ScriptRunner::execute(const Words& w) {
    if (w.empty()) return;
    using Action = void (ScriptRunner::*)(const Words&);
    struct Verb {
        std::string_view name;
        Action action;
    };
    static constexpr Verb kVerbs[] = {
        {"open", &ScriptRunner::doOpen},          {"click", &ScriptRunner::doClickLike},
        {"dblclick", &ScriptRunner::doClickLike}, {"set", &ScriptRunner::doSet},
        {"select", &ScriptRunner::doSelect},      {"edit", &ScriptRunner::doEdit},
        {"spin", &ScriptRunner::doSpin},          {"key", &ScriptRunner::doKey},
        {"mouse", &ScriptRunner::doMouse},        {"answer", &ScriptRunner::doAnswer},
        {"hold", &ScriptRunner::doHold},          {"beat", &ScriptRunner::doBeat},
        {"wait", &ScriptRunner::doWait},          {"command", &ScriptRunner::doCommand},
        {"close", &ScriptRunner::doClose},        {"expect", &ScriptRunner::doExpect},
        {"print", &ScriptRunner::doPrint},        {"snapshot", &ScriptRunner::doSnapshot},
        {"quit", &ScriptRunner::doQuit},          {"grid", &ScriptRunner::doGrid},
        {"locale", &ScriptRunner::doLocale},
    };
    const auto* verb = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                    [&](const Verb& v) { return v.name == w[0]; });
    if (verb == std::end(kVerbs)) {
        std::vector<std::string> names;
        for (const Verb& v : kVerbs) names.emplace_back(v.name);
        throw ScriptError("unknown action " + quotedText(w[0]) +
                          platform::didYouMean(platform::closestNames(w[0], names), true));
    }
    const bool beforeOpen = verb->name == "open" || verb->name == "grid" || verb->name == "locale";
    if (!beforeOpen && !host_.isOpen())
        throw ScriptError(w[0] + ": no plug-in is open (the script must open it first)");
    (this->*verb->action)(w);
}

}  // namespace kavrel
