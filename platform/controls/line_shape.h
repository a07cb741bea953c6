#pragma once
// A line drawn on the window between two points; it takes no user input.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"
#include "platform/drawing/surface.h"

namespace platform {

class LineShape : public Control {
  public:
    LineShape(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "LineShape"; }

    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void setX1(float v) { x1_ = v; }
    void setY1(float v) { y1_ = v; }
    void setX2(float v) { x2_ = v; }
    void setY2(float v) { y2_ = v; }
    Color BorderColor() const { return borderColor_; }
    void setBorderColor(Color c) { borderColor_ = c; }

    // A line has no events: the user cannot click it.
    bool userClick() override;
    bool userDblClick() override;
    bool userSet(const std::string& value) override;
    bool userKey(int keyAscii) override;
    bool userMouse(MouseAction action, float x, float y, int button, int shift) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color borderColor_ = 0;
};

}  // namespace platform
