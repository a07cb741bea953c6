#include "platform/user_driver.h"

#include <cctype>

#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/picture_file.h"
#include "platform/window.h"

namespace platform {

namespace {
bool validName(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
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
    if (!w) throw DriverError("unknown window: " + name);
    return *w;
}

Control& UserDriver::control(std::string_view target) {
    auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    if (t->control.empty()) throw DriverError("not a control: " + std::string(target));
    Window& w = window(t->window);
    Control* c = w.find(t->control, t->index);
    if (!c) throw DriverError("unknown control: " + std::string(target));
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
    std::optional<std::string> v;
    if (t->control.empty())
        v = window(t->window).property(prop);
    else
        v = control(target).property(prop);
    if (!v) throw DriverError("unknown property: " + std::string(text));
    return *v;
}

bool UserDriver::snapshot(std::string_view target, const std::string& pngPath) {
    auto t = parseTarget(target);
    if (!t) throw DriverError("malformed target: " + std::string(target));
    if (t->control.empty()) return writePng(window(t->window).surface(), pngPath);
    auto* box = dynamic_cast<PictureBox*>(&control(target));
    if (!box) throw DriverError("not a picture box: " + std::string(target));
    return writePng(box->surface(), pngPath);
}

}  // namespace platform
