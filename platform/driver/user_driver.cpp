#include "platform/driver/user_driver.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "platform/controls/button.h"
#include "platform/text/closest_names.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/list_view.h"
#include "platform/controls/picture_box.h"
#include "platform/pictures/picture_file.h"
#include "platform/windows/window.h"

namespace platform {

namespace {
bool validName(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

// "0 to 3" for indexes that follow each other, else "0, 2, 5".
std::string indexesText(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    if (indexes.back() - indexes.front() + 1 == static_cast<int>(indexes.size()))
        return indexes.size() == 1
                   ? std::to_string(indexes.front())
                   : std::to_string(indexes.front()) + " to " + std::to_string(indexes.back());
    std::string out;
    for (int i : indexes) out += (out.empty() ? "" : ", ") + std::to_string(i);
    return out;
}

// The indexes of the controls named `name` on `w`; {-1} for a single control,
// empty when there is none.
std::vector<int> indexesOf(const Window& w, std::string_view name) {
    std::vector<int> out;
    for (const Control* c : w.controls())
        if (c->name() == name) out.push_back(c->index());
    return out;
}

// Why `t` names no control of `w`, and what it may have meant.
std::string unknownControl(const Window& w, const TargetName& t, std::string_view target) {
    const std::string base = w.name() + '.' + t.control;
    const std::vector<int> same = indexesOf(w, t.control);
    if (!same.empty() && same.front() >= 0) {
        if (t.index < 0)
            return base + " is a control array: name an index " + indexesText(same) + ", e.g. " +
                   base + '(' + std::to_string(*std::min_element(same.begin(), same.end())) + ')';
        return "unknown control: " + std::string(target) + " (" + base +
               " is a control array with indexes " + indexesText(same) + ')';
    }
    if (!same.empty())
        return "unknown control: " + std::string(target) + " (" + base +
               " is no control array: name it without an index)";
    std::vector<std::string> names;
    for (const Control* c : w.controls())
        if (std::find(names.begin(), names.end(), c->name()) == names.end())
            names.push_back(c->name());
    std::vector<std::string> shown;
    for (const std::string& name : closestNames(t.control, names)) {
        const std::vector<int> indexes = indexesOf(w, name);
        std::string s = w.name() + '.' + name;
        if (indexes.front() >= 0)
            s += std::find(indexes.begin(), indexes.end(), t.index) != indexes.end()
                     ? '(' + std::to_string(t.index) + ')'
                     : '(' + indexesText(indexes) + ')';
        shown.push_back(std::move(s));
    }
    return "unknown control: " + std::string(target) + didYouMean(shown);
}

// What a target that answers nothing to `prop` answers instead: the names it
// lists (`answered`, indexed ones as "List(i)", described in `indexed`).
std::string propertyHint(std::string_view prop, const std::vector<std::string>& answered,
                         const std::vector<IndexedProperty>& indexed) {
    const std::string_view base = prop.substr(0, prop.find('('));
    for (const IndexedProperty& p : indexed)
        if (p.name() == base)
            return (base.size() == prop.size() ? " (name its index: " : " (out of range: ") +
                   p.form + " takes " + p.rangeText() + ')';
    std::vector<std::string> names;
    for (const std::string& form : answered) names.push_back(form.substr(0, form.find('(')));
    std::vector<std::string> shown;
    for (const std::string& name : closestNames(base, names))
        shown.push_back(answered[static_cast<size_t>(std::find(names.begin(), names.end(), name) -
                                                     names.begin())]);
    return didYouMean(shown);
}

// When `prop`, asked of window `w`, names one of its controls: that the
// control's property is meant, and which. "" otherwise.
std::string controlAsProperty(const Window& w, std::string_view prop) {
    const auto t = UserDriver::parseTarget(w.name() + '.' + std::string(prop));
    if (!t || t->control.empty()) return "";
    const Control* c = w.find(t->control, t->index);
    std::string named = w.name() + '.' + t->control;
    if (!c && t->index < 0) {
        // A control array named without its index: its first member.
        const std::vector<int> indexes = indexesOf(w, t->control);
        if (indexes.empty()) return "";
        c = w.find(t->control, *std::min_element(indexes.begin(), indexes.end()));
        if (!c) return "";
        named += " is a control array";
    } else if (!c) {
        return "";
    } else {
        named = c->path() + " is a control";
    }
    if (!c->defaultProperty().empty())
        return " (" + named + ": did you mean " + c->path() + '.' +
               std::string(c->defaultProperty()) + "?)";
    return " (" + named + ": name one of its properties, e.g. " + c->path() + '.' +
           c->propertyNames().front() + ')';
}

ListView& listView(Control& c) {
    auto* lv = dynamic_cast<ListView*>(&c);
    if (!lv) throw DriverError("not a list view: " + c.path());
    return *lv;
}
}  // namespace

std::optional<TargetName> UserDriver::parseTarget(std::string_view text) {
    TargetName t;
    const auto dot = text.find('.');
    t.window = std::string(text.substr(0, dot));
    if (!validName(t.window)) return std::nullopt;
    if (dot == std::string_view::npos) return t;
    std::string_view rest = text.substr(dot + 1);
    const auto open = rest.find('(');
    if (open != std::string_view::npos) {
        if (rest.back() != ')') return std::nullopt;
        const std::string_view digits = rest.substr(open + 1, rest.size() - open - 2);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        int v = 0;
        for (char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
            v = v * 10 + (c - '0');
        }
        t.index = v;
        rest = rest.substr(0, open);
    }
    if (!validName(rest)) return std::nullopt;
    t.control = std::string(rest);
    return t;
}

Window& UserDriver::window(const std::string& name) {
    Window* w = desktop_.window(name);
    if (!w)
        throw DriverError("unknown window: " + name +
                          didYouMean(closestNames(name, desktop_.windowNames())));
    return *w;
}

Control& UserDriver::control(std::string_view target) {
    auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    if (t->control.empty()) throw DriverError("not a control: " + std::string(target));
    Window& w = window(t->window);
    Control* c = w.find(t->control, t->index);
    if (!c) throw DriverError(unknownControl(w, *t, target));
    return *c;
}

bool UserDriver::click(std::string_view target) {
    auto t = parseTarget(target);
    if (t && t->control.empty()) return window(t->window).userClick();
    return control(target).userClick();
}

bool UserDriver::dblclick(std::string_view target) {
    return control(target).userDblClick();
}

bool UserDriver::set(std::string_view target, const std::string& value) {
    try {
        return control(target).userSet(value);
    } catch (const UserActionError& e) {
        throw DriverError(e.what());
    }
}

bool UserDriver::select(std::string_view target, int row, int column, int button) {
    return listView(control(target)).userSelectRow(row, column, button);
}

bool UserDriver::dblclickRow(std::string_view target, int row, int column) {
    return listView(control(target)).userDblClickRow(row, column);
}

bool UserDriver::edit(std::string_view target, int row, int column, const std::string& text) {
    return listView(control(target)).userEditCell(row, column, text);
}

bool UserDriver::spin(std::string_view target, bool up) {
    return listView(control(target)).userSpin(up);
}

bool UserDriver::key(std::string_view target, int keyAscii) {
    auto t = parseTarget(target);
    if (t && t->control.empty()) return window(t->window).userKey(keyAscii);
    return control(target).userKey(keyAscii);
}

bool UserDriver::mouse(std::string_view target, MouseAction action, float x, float y, int button,
                       int shift) {
    return control(target).userMouse(action, x, y, button, shift);
}

bool UserDriver::close(std::string_view name) {
    return window(std::string(name)).userClose();
}

void UserDriver::answerFile(const std::string& path) {
    DialogAnswer a;
    a.kind = DialogAnswer::Kind::File;
    a.path = path;
    desktop_.queueDialogAnswer(std::move(a));
}

void UserDriver::answerFont(const std::string& name, double size, bool bold, bool italic,
                            bool underline, bool strikeout) {
    DialogAnswer a;
    a.kind = DialogAnswer::Kind::Font;
    a.fontName = name;
    a.fontSize = size;
    a.bold = bold;
    a.italic = italic;
    a.underline = underline;
    a.strikeout = strikeout;
    desktop_.queueDialogAnswer(std::move(a));
}

void UserDriver::answerCancel() {
    desktop_.queueDialogAnswer(DialogAnswer{});
}

std::optional<InputRefusal> UserDriver::refusal(std::string_view target) {
    const auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    Window& w = window(t->window);
    InputRefusal r;
    r.block = t->control.empty() ? w.inputBlock() : control(target).inputBlock();
    if (r.block == InputBlock::None) return std::nullopt;
    if (r.block == InputBlock::BehindModal) return modalWait();
    r.window = w.name();
    return r;
}

std::optional<InputRefusal> UserDriver::modalWait() const {
    if (!desktop_.modalOpen()) return std::nullopt;
    InputRefusal r;
    r.block = InputBlock::BehindModal;
    if (const CommonDialog* dialog = desktop_.waitingDialog()) {
        r.window = dialog->path();
        r.dialog = dialog->lastShown();
        return r;
    }
    const Window* top = desktop_.topModal();
    r.window = top->name();
    r.message = top->messageText();
    if (r.message) {
        for (const Control* c : top->controls())
            if (dynamic_cast<const Button*>(c) && c->acceptsInput()) r.answers.push_back(c->path());
    }
    return r;
}

std::string UserDriver::property(std::string_view text) {
    // The property is the part after the last dot outside parentheses.
    int depth = 0;
    size_t split = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')') --depth;
        if (text[i] == '.' && depth == 0) split = i;
    }
    if (split == std::string_view::npos) throw DriverError("no property in: " + std::string(text));
    const std::string_view target = text.substr(0, split);
    const std::string_view prop = text.substr(split + 1);
    auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    if (t->control.empty()) {
        const Window& w = window(t->window);
        if (auto v = w.property(prop)) return *v;
        std::string hint = controlAsProperty(w, prop);
        if (hint.empty()) hint = propertyHint(prop, w.propertyNames(), {});
        throw DriverError("unknown property: " + std::string(text) + hint);
    }
    const Control& c = control(target);
    if (auto v = c.property(prop)) return *v;
    throw DriverError("unknown property: " + std::string(text) +
                      propertyHint(prop, c.propertyNames(), c.indexedProperties()));
}

bool UserDriver::snapshot(std::string_view target, const std::string& pngPath) {
    auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    if (t->control.empty())
        return static_cast<bool>(writePng(window(t->window).surface(), pngPath));
    auto* box = dynamic_cast<PictureBox*>(&control(target));
    if (!box) throw DriverError("not a picture box: " + std::string(target));
    return static_cast<bool>(writePng(box->surface(), pngPath));
}

}  // namespace platform
