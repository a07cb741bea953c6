#include "platform/controls/label.h"

namespace platform {

Label::Label(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Label::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    return Control::answerProperty(q);
}

Frame::Frame(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Frame::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    return Control::answerProperty(q);
}

}  // namespace platform
