// The script's actions: what the user does to the plug-in's windows and what
// the host does to the plug-in.
#include <algorithm>

#include "cli/script_runner.h"
#include "cli/script_values.h"
#include "platform/text/closest_names.h"
#include "platform/text/hidden_characters.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"

namespace kavrel {

namespace {
// Mouse positions beyond this are no position on any window.
constexpr double kMaxMouseUnits = 1e9;

// The nearest quoted names of `names`, as unknown words get them.
std::string nearestQuoted(const std::string& word, const std::vector<std::string>& names) {
    std::vector<std::string> shown;
    for (const std::string& name : platform::closestNames(word, names))
        shown.push_back(quotedText(name));
    return platform::didYouMean(shown);
}

// "; its options: "do", "select"" or "; it has no options".
std::string optionsNamed(const std::vector<std::string>& options) {
    if (options.empty()) return "; it has no options";
    std::string named = "; its options: ";
    for (size_t i = 0; i < options.size(); ++i)
        named += (i > 0 ? ", " : "") + quotedText(options[i]);
    return named;
}

platform::TargetName controlTarget(const std::string& word, const std::string& action) {
    auto t = checkTarget(word);
    if (t.control.empty())
        throw ScriptError(action + " needs a control, not the window " + quotedText(word));
    return t;
}
}  // namespace

void ScriptRunner::doOpen(const Words& w) {
    checkWords(w, 0, 0);
    if (host_.isOpen()) throw ScriptError("the plug-in is open already");
    orva::StartOptions start = start_;
    start.protectedFiles = protectedFiles();
    host_.open(start, [this](orva::HostedPlugin& p) { attach(p); });
}

void ScriptRunner::doClickLike(const Words& w) {
    const bool dbl = w[0] == "dblclick";
    checkWords(w, 1, 1);
    checkTarget(w[1]);
    auto d = driver();
    note(dbl ? d.dblclick(w[1]) : d.click(w[1]), w[0], w[1]);
}

void ScriptRunner::doSet(const Words& w) {
    if (w.size() > 3)
        throw ScriptError(std::string(badSyntax(w).what()) + " (quote a value that holds blanks)");
    checkWords(w, 1, 2);
    if (w.size() == 2) {
        // A value that starts with '#' is read as a comment unless quoted.
        const bool eaten = comment_.size() > 1 && comment_[1] != ' ' && comment_[1] != '\t';
        throw ScriptError("bad syntax, the value is missing: " + std::string(syntaxOf(w)) +
                          (eaten ? " (a value that starts with # is a comment unless quoted: "
                                   "\"#front\")"
                                 : ""));
    }
    controlTarget(w[1], "set");
    auto d = driver();
    // An option button is set by choosing it, as a user does.
    if (auto* option = dynamic_cast<platform::OptionButton*>(&d.control(w[1]))) {
        if (w[2] != "1" && w[2] != "True")
            throw ScriptError("an option button is set with 1 (choosing another one clears it)");
        note(option->userClick(), "set", w[1]);
        return;
    }
    noteHiddenCharacters("set", w[1], w[2]);
    note(d.set(w[1], w[2]), "set", w[1]);
}

void ScriptRunner::doSelect(const Words& w) {
    checkWords(w, 2, 3);
    controlTarget(w[1], "select");
    const auto row = wholeNumber(w[2], 1, INT32_MAX, "ROW");
    const auto col = w.size() > 3 ? wholeNumber(w[3], 0, INT32_MAX, "COL") : 0;
    auto d = driver();
    if (d.select(w[1], static_cast<int>(row), static_cast<int>(col))) return;
    // A list that takes input refused a row it does not have: it names its rows.
    const auto& list = dynamic_cast<const platform::ListView&>(d.control(w[1]));
    const std::optional<std::string> noRow =
        list.acceptsInput() ? list.rowRefusal(static_cast<int>(row)) : std::nullopt;
    noteIgnored("select", w[1], noRow ? *noRow : whyIgnored(w[1]));
}

void ScriptRunner::doEdit(const Words& w) {
    checkWords(w, 4, 4);
    controlTarget(w[1], "edit");
    const auto row = wholeNumber(w[2], 1, INT32_MAX, "ROW");
    const auto col = wholeNumber(w[3], 0, INT32_MAX, "COL");
    noteHiddenCharacters("edit", w[1], w[4]);
    note(driver().edit(w[1], static_cast<int>(row), static_cast<int>(col), w[4]), "edit", w[1]);
}

void ScriptRunner::doSpin(const Words& w) {
    checkWords(w, 2, 2);
    controlTarget(w[1], "spin");
    if (w[2] != "up" && w[2] != "down") throw badSyntax(w);
    note(driver().spin(w[1], w[2] == "up"), "spin", w[1]);
}

void ScriptRunner::doKey(const Words& w) {
    checkWords(w, 2, 2);
    checkTarget(w[1]);
    const auto code = wholeNumber(w[2], 0, 255, "CODE");
    note(driver().key(w[1], static_cast<int>(code)), "key", w[1]);
}

void ScriptRunner::doMouse(const Words& w) {
    checkWords(w, 4, 6);
    platform::MouseAction action;
    if (w[1] == "down")
        action = platform::MouseAction::Down;
    else if (w[1] == "move")
        action = platform::MouseAction::Move;
    else if (w[1] == "up")
        action = platform::MouseAction::Up;
    else
        throw badSyntax(w);
    controlTarget(w[2], "mouse");
    auto coordinate = [](const std::string& word, const char* what) {
        const double v = decimalNumber(word, what);
        if (v < -kMaxMouseUnits || v > kMaxMouseUnits)
            throw ScriptError(std::string(what) + " is too far out: " + quotedText(word));
        return static_cast<float>(v);
    };
    const float x = coordinate(w[3], "X");
    const float y = coordinate(w[4], "Y");
    const auto button = w.size() > 5 ? wholeNumber(w[5], 0, 7, "BUTTON") : 1;
    const auto shift = w.size() > 6 ? wholeNumber(w[6], 0, 7, "SHIFT") : 0;
    note(driver().mouse(w[2], action, x, y, static_cast<int>(button), static_cast<int>(shift)),
         "mouse " + w[1], w[2]);
}

void ScriptRunner::doAnswer(const Words& w) {
    checkWords(w, 1, 7);
    auto d = driver();
    if (w[1] == "cancel") {
        checkForm(w, 1, 1, "answer cancel");
        d.answerCancel();
    } else if (w[1] == "file") {
        checkForm(w, 2, 2, "answer file");
        d.answerFile(w[2]);
    } else if (w[1] == "font") {
        checkForm(w, 3, 7, "answer font");
        const double size = decimalNumber(w[3], "SIZE");
        if (size <= 0) throw ScriptError("SIZE must be above 0, not " + quotedText(w[3]));
        bool bold = false, italic = false, underline = false, strikeout = false;
        for (size_t i = 4; i < w.size(); ++i) {
            bool* flag = w[i] == "bold"        ? &bold
                         : w[i] == "italic"    ? &italic
                         : w[i] == "underline" ? &underline
                         : w[i] == "strikeout" ? &strikeout
                                               : nullptr;
            if (!flag || *flag) throw ScriptError("bad or repeated font style " + quotedText(w[i]));
            *flag = true;
        }
        d.answerFont(w[2], size, bold, italic, underline, strikeout);
    } else {
        throw badSyntax(w);
    }
}

void ScriptRunner::doHold(const Words& w) {
    checkWords(w, 1, 1);
    if (w[1] != "messages" && w[1] != "off") throw badSyntax(w);
    holdMessages_ = w[1] == "messages";
    desktop().autoAcknowledgeMessages = !holdMessages_;
}

void ScriptRunner::doBeat(const Words& w) {
    checkWords(w, 0, 0);
    // A plug-in that did not ask for beats does not get them.
    host_.beat();
}

void ScriptRunner::doWait(const Words& w) {
    checkWords(w, 1, 1);
    desktop().loop().wait(wholeNumber(w[1], 0, kMaxWaitMs, "MS"));
}

void ScriptRunner::doCommand(const Words& w) {
    checkWords(w, 1, 3);
    const std::string option = w.size() > 2 ? w[2] : std::string();
    const double value = w.size() > 3 ? decimalNumber(w[3], "VALUE") : 0.0;
    orva::ICommandServer* server = host_.moduleInfo().commands;
    const auto offered = server ? server->commands() : std::vector<orva::CommandInfo>{};
    const auto command = std::find_if(offered.begin(), offered.end(),
                                      [&](const orva::CommandInfo& c) { return c.key == w[1]; });
    if (command == offered.end()) {
        std::vector<std::string> keys;
        for (const orva::CommandInfo& c : offered) keys.push_back(c.key);
        throw ScriptError("unknown command " + quotedText(w[1]) +
                          platform::hiddenCharacterNote(w[1]) + nearestQuoted(w[1], keys));
    }
    const std::vector<std::string>& options = command->options;
    if (w.size() > 2 && std::find(options.begin(), options.end(), option) == options.end())
        throw ScriptError("no such option " + quotedText(option) + " for command " +
                          quotedText(w[1]) + platform::hiddenCharacterNote(option) +
                          nearestQuoted(option, options) + optionsNamed(options));
    host_.runCommand(w[1], option, value);
}

void ScriptRunner::doClose(const Words& w) {
    checkWords(w, 1, 1);
    if (!checkTarget(w[1]).control.empty())
        throw ScriptError("close takes a window, not the control " + quotedText(w[1]));
    note(driver().close(w[1]), "close", w[1]);
}

void ScriptRunner::doGrid(const Words& w) {
    checkWords(w, 1, 1);
    if (host_.isOpen()) throw ScriptError("grid must come before open");
    auto grid = parseGrid(w[1]);
    if (!grid)
        throw ScriptError("grid takes COLSxROWS with 1 to " + std::to_string(kMaxGrid) +
                          " each, not " + quotedText(w[1]));
    start_.gridCols = grid->first;
    start_.gridRows = grid->second;
}

void ScriptRunner::doLocale(const Words& w) {
    checkWords(w, 1, 1);
    if (host_.isOpen()) throw ScriptError("locale must come before open");
    auto locale = parseLocale(w[1]);
    if (!locale) throw ScriptError("locale takes en or de, not " + quotedText(w[1]));
    start_.locale = *locale;
}

void ScriptRunner::doQuit(const Words& w) {
    checkWords(w, 0, 0);
    ended_ = true;
}

}  // namespace kavrel
