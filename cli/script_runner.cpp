#include "cli/script_runner.h"

#include <algorithm>
#include <string_view>

#include "cli/script_tokenizer.h"
#include "cli/script_values.h"
#include "cli/window_hints.h"
#include "platform/text/closest_names.h"
#include "platform/windows/control.h"
#include "platform/runtime/event_loop.h"
#include "platform/text/hidden_characters.h"
#include "platform/driver/user_driver.h"

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
            if (!endedWaitAnswers_.empty())
                what += "; the lines that answer it: " + endedWaitAnswers_;
            report(lineCount_, kExitScriptError, what);
            // The wait was unwound out of the plug-in's code: run no more of it.
            stopped_ = true;
        } else
            report(line, kExitScriptError, e.what());
    } catch (const ScriptError& e) {
        report(line, kExitScriptError, e.what());
    } catch (const ScriptSyntaxError& e) {
        report(line, kExitScriptError, e.what());
    } catch (const platform::DriverError& e) {
        // An unknown window, control or property, found before any input.
        report(line, kExitScriptError, e.what());
    } catch (const platform::UserActionError& e) {
        // A value the control refused before it changed anything.
        report(line, kExitScriptError, e.what());
    } catch (const std::exception& e) {
        // Host errors and whatever the plug-in's code threw while it ran.
        reportPluginFailure(line, e.what());
    } catch (...) {
        reportPluginFailure(line, "unknown failure");
    }
    return false;
}

void ScriptRunner::reportPluginFailure(int line, const std::string& what) {
    const bool first = !stopped_;
    report(line, kExitScriptError, what);
    if (!typed_ || !first) return;
    stopped_ = true;
    err_ << "kavrel: the failure was inside the plug-in, which may be half-way through a "
            "change: the session ends\n";
    err_.flush();
}

void ScriptRunner::report(int line, int code, const std::string& what) {
    // The first failure decides; a later one is what unwinding it caused.
    if (stopped_) return;
    if (typed_) {
        // Typed by hand: the session goes on and ends with its worst failure.
        exitCode_ = std::max(exitCode_, code);
    } else {
        stopped_ = true;
        exitCode_ = code;
    }
    out_.flush();
    err_ << "kavrel: line " << line << ": " << messageText(what, kMaxMessageBytes) << '\n';
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
        // hand ends (reportPluginFailure said so).
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
        out_ << "message: " << messageText(text) << '\n';
        out_.flush();
    };
    d.autoAcknowledgeMessages = !holdMessages_;
    // A modal wait runs the script's next line as the user's next action.
    d.fallbackActions = [this] {
        if (step()) return true;
        // The script ended inside the wait: what would have answered it.
        const auto wait = driver().modalWait();
        endedWaitAnswers_ = wait && !wait->dialog.empty() ? answersTo(*wait) : std::string();
        return false;
    };
}

void ScriptRunner::note(bool taken, const std::string& action, const std::string& target) {
    if (!taken) noteIgnored(action, target, whyIgnored(target));
}

void ScriptRunner::noteHiddenCharacters(const std::string& action, const std::string& target,
                                        const std::string& value) {
    const std::string hidden = platform::hiddenCharacterNote(value);
    if (!hidden.empty())
        out_ << "note: " << messageText(action) << ' ' << messageText(target) << ' '
             << quotedText(value) << hidden << '\n';
}

std::string ScriptRunner::whyIgnored(const std::string& target) {
    const std::optional<platform::InputRefusal> refusal = driver().refusal(target);
    if (!refusal) return "not available";
    switch (refusal->block) {
        case platform::InputBlock::Hidden:
            return "hidden";
        case platform::InputBlock::Disabled:
            return "disabled";
        case platform::InputBlock::WindowNotShown: {
            const std::string how = howToShow(refusal->window);
            return "window " + refusal->window + " is not shown" + (how.empty() ? "" : ": " + how);
        }
        case platform::InputBlock::BehindModal:
        case platform::InputBlock::None:
            break;
    }
    const std::string answers = answersTo(*refusal);
    std::string why;
    if (!refusal->dialog.empty())
        why = std::string(refusal->dialog == "Font" ? "the font dialog " : "the file dialog ") +
              refusal->window + " waits";
    else if (refusal->message)
        why = "window " + refusal->window + " waits for an answer to " +
              quotedText(*refusal->message);
    else
        why = "window " + refusal->window + " waits modally";
    return answers.empty() ? why : why + ": " + answers;
}

std::string ScriptRunner::answersTo(const platform::InputRefusal& wait) {
    std::string answers;
    auto add = [&](std::string_view line, bool last) {
        if (!answers.empty()) answers += last ? " or " : ", ";
        answers += line;
    };
    if (!wait.dialog.empty()) {
        add(formOf("answer", wait.dialog == "Font" ? "answer font" : "answer file"), false);
        add(formOf("answer", "answer cancel"), true);
        return answers;
    }
    for (size_t i = 0; i < wait.answers.size(); ++i)
        add("click " + wait.answers[i], i + 1 == wait.answers.size());
    return answers;
}

void ScriptRunner::noteIgnored(const std::string& action, const std::string& target,
                               const std::string& why) {
    out_ << "ignored: " << messageText(action) << ' ' << messageText(target) << " ("
         << messageText(why) << ")\n";
}

std::span<const ScriptRunner::Verb> ScriptRunner::verbs() {
    static constexpr Verb kVerbs[] = {
        {"open", &ScriptRunner::doOpen, "open", Needs::Nothing},
        {"click", &ScriptRunner::doClickLike, "click TARGET"},
        {"dblclick", &ScriptRunner::doClickLike, "dblclick TARGET"},
        {"set", &ScriptRunner::doSet, "set TARGET VALUE"},
        {"select", &ScriptRunner::doSelect, "select TARGET ROW [COL]"},
        {"edit", &ScriptRunner::doEdit, "edit TARGET ROW COL TEXT"},
        {"spin", &ScriptRunner::doSpin, "spin TARGET up|down"},
        {"key", &ScriptRunner::doKey, "key TARGET CODE"},
        {"mouse", &ScriptRunner::doMouse, "mouse down|move|up TARGET X Y [BUTTON [SHIFT]]"},
        {"answer", &ScriptRunner::doAnswer,
         "answer file PATH | answer font NAME SIZE [bold] [italic] [underline] [strikeout] | "
         "answer cancel"},
        {"hold", &ScriptRunner::doHold, "hold messages|off"},
        {"beat", &ScriptRunner::doBeat, "beat"},
        {"wait", &ScriptRunner::doWait, "wait MS"},
        {"command", &ScriptRunner::doCommand, "command KEY [OPTION [VALUE]]"},
        {"close", &ScriptRunner::doClose, "close WINDOW"},
        {"expect", &ScriptRunner::doExpect,
         "expect TARGET.PROPERTY VALUE | expect message TEXT | expect var NAME VALUE | "
         "expect frame A|B|M X Y R G B | expect pixel TARGET X Y R G B | "
         "expect dmx ADDRESS VALUE | expect file PATH"},
        {"print", &ScriptRunner::doPrint,
         "print TARGET.PROPERTY | print var NAME | print frame A|B|M | print dmx"},
        {"snapshot", &ScriptRunner::doSnapshot, "snapshot TARGET FILE.png"},
        {"quit", &ScriptRunner::doQuit, "quit", Needs::PluginUnlessTyped},
        {"grid", &ScriptRunner::doGrid, "grid COLSxROWS", Needs::Nothing},
        {"locale", &ScriptRunner::doLocale, "locale en|de", Needs::Nothing},
        {"help", &ScriptRunner::doHelp, "help", Needs::Nothing},
    };
    return kVerbs;
}

std::string_view ScriptRunner::syntaxOf(std::string_view verb) {
    const auto found =
        std::find_if(verbs().begin(), verbs().end(), [&](const Verb& v) { return v.name == verb; });
    return found == verbs().end() ? std::string_view() : found->syntax;
}

std::string_view ScriptRunner::formOf(std::string_view verb, std::string_view start) {
    const std::string_view syntax = syntaxOf(verb);
    for (std::string_view forms = syntax; !forms.empty();) {
        const size_t bar = forms.find(" | ");
        const std::string_view form = forms.substr(0, bar);
        if (form.starts_with(start) && (form.size() == start.size() || form[start.size()] == ' '))
            return form;
        if (bar == std::string_view::npos) break;
        forms.remove_prefix(bar + 3);
    }
    return syntax;
}

ScriptError ScriptRunner::badSyntax(const Words& w) {
    return kavrel::badSyntax(syntaxOf(w));
}

void ScriptRunner::checkWords(const Words& w, size_t min, size_t max) {
    checkWordCount(w, min, max, syntaxOf(w));
}

void ScriptRunner::checkForm(const Words& w, size_t min, size_t max, std::string_view start) {
    checkWordCount(w, min, max, formOf(w, start));
}

void ScriptRunner::execute(const Words& w) {
    if (w.empty()) return;
    const auto verb =
        std::find_if(verbs().begin(), verbs().end(), [&](const Verb& v) { return v.name == w[0]; });
    if (verb == verbs().end()) {
        std::vector<std::string> names;
        for (const Verb& v : verbs()) names.emplace_back(v.name);
        throw ScriptError("unknown action " + quotedText(w[0]) +
                          platform::hiddenCharacterNote(w[0]) +
                          platform::didYouMean(platform::closestNames(w[0], names), true));
    }
    const bool needsPlugin =
        verb->needs == Needs::Plugin || (verb->needs == Needs::PluginUnlessTyped && !typed_);
    if (needsPlugin && !host_.isOpen())
        throw ScriptError(w[0] + ": no plug-in is open (the script must open it first)");
    (this->*verb->action)(w);
}

void ScriptRunner::doHelp(const Words& w) {
    checkWords(w, 0, 0);
    out_ << "The actions, a line each (TARGET: Window, Window.control or "
            "Window.control(index)):\n";
    for (const Verb& v : verbs()) {
        // An action of several forms shows each on a line of its own.
        std::string_view forms = v.syntax;
        for (size_t bar; (bar = forms.find(" | ")) != std::string_view::npos;
             forms.remove_prefix(bar + 3))
            out_ << "  " << forms.substr(0, bar) << '\n';
        out_ << "  " << forms << '\n';
    }
    out_ << kDocsPointer;
}

}  // namespace kavrel
