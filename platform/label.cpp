#include "platform/label.h"

namespace platform {

Label::Label(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Label::property(std::string_view name) const {
    if (name == "Caption") return caption_;
    return Control::property(name);
}

Frame::Frame(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

std::optional<std::string> Frame::property(std::string_view name) const {
    if (name == "Caption") return caption_;
    return Control::property(name);
}

}  // namespace platform
