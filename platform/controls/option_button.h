#pragma once
// An option button: choosing one clears the other option buttons of the same
// window that share its group.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

class OptionButton : public Control {
  public:
    OptionButton(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "OptionButton"; }
    std::string_view defaultProperty() const override { return "Value"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }
    // Option buttons in one container form a group; "" is the window itself.
    const std::string& group() const { return group_; }
    void setGroup(std::string g) { group_ = std::move(g); }

    bool Value() const { return value_; }
    // True clears the siblings and raises Click when it was not chosen yet;
    // False just clears this one.
    void setValue(bool on);

    // Chooses this one; Click is raised even when it already was chosen.
    bool userClick() override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    void clearSiblings();

    std::string caption_;
    std::string group_;
    bool value_ = false;
};

}  // namespace platform
