#include "platform/controls/option_button.h"

#include "platform/windows/window.h"

namespace platform {

OptionButton::OptionButton(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

void OptionButton::clearSiblings() {
    for (Control* c : parent().controls()) {
        auto* other = dynamic_cast<OptionButton*>(c);
        if (other && other != this && other->group_ == group_) other->value_ = false;
    }
}

void OptionButton::setValue(bool on) {
    if (!on) {
        value_ = false;
        return;
    }
    clearSiblings();
    if (value_) return;
    value_ = true;
    raise(onClick);
}

bool OptionButton::userClick() {
    if (!acceptsInput()) return false;
    clearSiblings();
    value_ = true;
    raise(onClick);
    return true;
}

std::optional<std::string> OptionButton::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    if (q.is("Value")) return propertyBool(value_);
    return Control::answerProperty(q);
}

}  // namespace platform
