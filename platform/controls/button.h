#pragma once
// A command button: a caption, or a picture button that carries a normal, a
// pressed-look and an inactive-look picture and shows one of them.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"
#include "platform/drawing/surface.h"

namespace platform {

using PicturePtr = std::shared_ptr<const Surface>;

class Button : public Control {
  public:
    Button(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "Button"; }
    std::string_view defaultProperty() const override { return "Caption"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }

    // The picture shown now. Code marks a state by assigning DownPicture or
    // DisabledPicture here; any other picture becomes the normal one.
    const PicturePtr& Picture() const { return shown_; }
    void setPicture(PicturePtr p);
    const PicturePtr& DownPicture() const { return down_; }
    void setDownPicture(PicturePtr p) { down_ = std::move(p); }
    const PicturePtr& DisabledPicture() const { return disabled_; }
    void setDisabledPicture(PicturePtr p) { disabled_ = std::move(p); }
    // Which of the three pictures is shown: "Picture", "DownPicture",
    // "DisabledPicture", or "None" when no picture (or a foreign one) is shown.
    // A disabled button with a DisabledPicture shows that one.
    std::string shownPicture() const;

    bool userClick() override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::string caption_;
    PicturePtr normal_;
    PicturePtr shown_;
    PicturePtr down_;
    PicturePtr disabled_;
};

}  // namespace platform
