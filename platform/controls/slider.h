#pragma once
// A slider with a whole-number value kept within Min..Max, a Change event
// after every change and a Scroll event for every step of a drag.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

class Slider : public Control {
  public:
    Slider(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "Slider"; }
    std::string_view defaultProperty() const override { return "Value"; }

    int32_t Min() const { return min_; }
    int32_t Max() const { return max_; }
    // Both move the value into the new range, raising Change if it moved.
    void setMin(int32_t v);
    void setMax(int32_t v);
    int32_t Value() const { return value_; }
    // Clamps into the range; raises Change when the clamped value differs.
    void setValue(int32_t v);

    // 0 horizontal (Min at the left), 1 vertical (Max at the top, as on a
    // fader); other values are ignored.
    int Orientation() const { return orientation_; }
    void setOrientation(int o) {
        if (o == 0 || o == 1) orientation_ = o;
    }
    int32_t SmallChange() const { return smallChange_; }
    void setSmallChange(int32_t v) { smallChange_ = v; }
    int32_t LargeChange() const { return largeChange_; }
    void setLargeChange(int32_t v) { largeChange_ = v; }

    std::function<void()> onChange;
    std::function<void()> onScroll;

    // A whole number typed or chosen by the user: clamped, Change if it moved.
    bool userSet(const std::string& value) override;
    // One step of a drag: the value follows the thumb and Scroll is raised.
    bool userScroll(int v);
    // The end of a drag: one Change when the value differs from its start.
    bool userRelease();
    bool dragging() const { return dragging_; }
    // The left button drags the thumb along the slider's orientation: the
    // press moves it to the pointer, moves follow it (Scroll each), the release
    // ends the drag (Change once). Positions in the window's units from the
    // slider's top left; beyond the ends the thumb stays at Min or Max.
    bool userMouse(MouseAction action, float x, float y, int button, int shift) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    // Min and Max may be set in either order; the range is between them.
    int32_t clamp(int64_t v) const;
    // Sets the value; true when it changed.
    bool store(int64_t v);
    // The value under a pointer position; nullopt when the slider has no length.
    std::optional<int32_t> valueAt(float x, float y) const;

    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t value_ = 0;
    int orientation_ = 0;
    int32_t smallChange_ = 1;
    int32_t largeChange_ = 10;
    bool dragging_ = false;
    int32_t dragStart_ = 0;
};

}  // namespace platform
