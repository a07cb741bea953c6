#include "platform/controls/check_box.h"

namespace platform {

CheckBox::CheckBox(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2 || v == value_) return;
    value_ = v;
    raise(onClick);
}

bool CheckBox::userClick() {
    if (!acceptsInput()) return false;
    value_ = value_ == 1 ? 0 : value_ == 0 ? 1 : 0;
    raise(onClick);
    return true;
}

bool CheckBox::userSet(const std::string& value) {
    if (!acceptsInput()) return false;
    if (value != "0" && value != "1" && value != "2") {
        throw UserActionError("a check box takes 0, 1 or 2, not \"" + value + "\": " + path());
    }
    setValue(value[0] - '0');
    return true;
}

std::optional<std::string> CheckBox::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    if (q.is("Value")) return propertyNumber(static_cast<int64_t>(value_));
    return Control::answerProperty(q);
}

}  // namespace platform
