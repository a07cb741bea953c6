#include "platform/label.h"

namespace platform {

Label::Label(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Label::answer(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    return Control::answer(q);
}

Frame::Frame(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Frame::answer(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    return Control::answer(q);
}

}  // namespace platform
