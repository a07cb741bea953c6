#include "platform/windows/control.h"

#include <cmath>
#include <cstdio>

#include "platform/windows/desktop.h"
#include "platform/windows/key_codes.h"
#include "platform/windows/window.h"

namespace platform {

Control::Control(Window& parent, std::string name, int index)
    : parent_(parent), name_(std::move(name)), index_(index) {}

Control::~Control() = default;

Desktop& Control::desktop() const {
    return parent_.desktop();
}

std::string Control::path() const {
    std::string p = parent_.name() + "." + name_;
    if (index_ >= 0) p.append("(").append(std::to_string(index_)).append(")");
    return p;
}

void Control::move(float left, float top, float width, float height) {
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

InputBlock Control::inputBlock() const {
    const InputBlock window = parent_.inputBlock();
    if (window != InputBlock::None) return window;
    if (!visible_) return InputBlock::Hidden;
    return enabled_ ? InputBlock::None : InputBlock::Disabled;
}

bool Control::userClick() {
    if (!acceptsInput()) return false;
    raise(onClick);
    return true;
}

bool Control::userDblClick() {
    if (!acceptsInput()) return false;
    raise(onClick);
    raise(onDblClick);
    return true;
}

bool Control::userSet(const std::string&) {
    throw UserActionError(std::string("a ") + kind() + " takes no value: " + path());
}

bool Control::keyDown(int keyAscii) {
    if (onKeyDown) {
        KeyStroke k = keyStrokeFor(keyAscii);
        onKeyDown(k.keyCode, k.shift);
    }
    return acceptsInput();
}

bool Control::userKey(int keyAscii) {
    if (!acceptsInput()) return false;
    if (keyDown(keyAscii) && onKeyPress) onKeyPress(keyAscii);
    return true;
}

bool Control::userMouse(MouseAction action, float x, float y, int button, int shift) {
    if (action == MouseAction::Down && !acceptsInput()) return false;
    // After a press the control keeps the mouse until the release, so moves and
    // the release arrive even outside it.
    switch (action) {
        case MouseAction::Down:
            mouseButtons_ |= button;
            if (onMouseDown) onMouseDown(button, shift, x, y);
            break;
        case MouseAction::Move:
            if (onMouseMove) onMouseMove(mouseButtons_, shift, x, y);
            break;
        case MouseAction::Up: {
            const bool held = (mouseButtons_ & button) != 0;
            mouseButtons_ &= ~button;
            if (onMouseUp) onMouseUp(button, shift, x, y);
            if (held && releaseOver(x, y)) raise(onClick);
            break;
        }
    }
    return true;
}

bool Control::releaseOver(float x, float y) const {
    if (width_ <= 0 || height_ <= 0) return true;
    return x >= 0 && y >= 0 && x < width_ && y < height_;
}

std::optional<std::string> Control::property(std::string_view name) const {
    PropertyQuery q(name);
    return answerProperty(q);
}

std::vector<std::string> Control::propertyNames() const {
    PropertyQuery q = PropertyQuery::listing();
    answerProperty(q);
    return q.names();
}

std::vector<IndexedProperty> Control::indexedProperties() const {
    PropertyQuery q = PropertyQuery::listing();
    answerProperty(q);
    return q.indexed();
}

std::optional<std::string> Control::answerProperty(PropertyQuery& q) const {
    if (q.is("Enabled")) return propertyBool(enabled_);
    if (q.is("Visible")) return propertyBool(visible_);
    if (q.is("ToolTipText")) return toolTip_;
    if (q.is("BackColor")) return propertyColor(backColor_);
    if (q.is("ForeColor")) return propertyColor(foreColor_);
    if (q.is("Left")) return propertyNumber(left_);
    if (q.is("Top")) return propertyNumber(top_);
    if (q.is("Width")) return propertyNumber(width_);
    if (q.is("Height")) return propertyNumber(height_);
    if (q.is("Name")) return name_;
    if (q.is("Index")) return propertyNumber(static_cast<int64_t>(index_));
    if (q.is("Kind")) return std::string(kind());
    return std::nullopt;
}

std::string propertyNumber(int64_t v) {
    return std::to_string(v);
}

std::string propertyNumber(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) {
        return std::to_string(static_cast<int64_t>(v));
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    return buf;
}

}  // namespace platform
