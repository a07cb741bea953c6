#pragma once
// Static captions: a label, and a frame that groups other controls.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

class Label : public Control {
  public:
    Label(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "Label"; }
    std::string_view defaultProperty() const override { return "Caption"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::string caption_;
};

class Frame : public Control {
  public:
    Frame(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "Frame"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::string caption_;
};

}  // namespace platform
