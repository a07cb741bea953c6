#include "platform/controls/button.h"

namespace platform {

Button::Button(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

void Button::setPicture(PicturePtr p) {
    // Showing the pressed or inactive look keeps the normal picture to return to.
    if (p && p != down_ && p != disabled_) normal_ = p;
    shown_ = std::move(p);
}

std::string Button::shownPicture() const {
    // A disabled picture button shows its inactive look whatever Picture holds.
    if (!Enabled() && disabled_) return "DisabledPicture";
    if (!shown_) return "None";
    if (shown_ == normal_) return "Picture";
    if (shown_ == down_) return "DownPicture";
    if (shown_ == disabled_) return "DisabledPicture";
    return "None";
}

bool Button::userClick() {
    if (!acceptsInput()) return false;
    raise(onClick);
    return true;
}

std::optional<std::string> Button::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    if (q.is("ShownPicture")) return shownPicture();
    return Control::answerProperty(q);
}

}  // namespace platform
