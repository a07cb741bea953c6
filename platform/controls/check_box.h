#pragma once
// A check box: Value 0 unchecked, 1 checked, 2 greyed.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

class CheckBox : public Control {
  public:
    CheckBox(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "CheckBox"; }
    std::string_view defaultProperty() const override { return "Value"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }

    int Value() const { return value_; }
    // Raises Click when the value changes; values other than 0..2 are ignored.
    void setValue(int v);

    // A click toggles: 0 -> 1, 1 or 2 -> 0, then Click.
    bool userClick() override;
    // "0", "1" or "2": sets the value as the user; Click when it changed.
    bool userSet(const std::string& value) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::string caption_;
    int value_ = 0;
};

}  // namespace platform
