#pragma once
// A timer placed on a window. It sits among the window's controls (hidden,
// never taking input) so that scripts read a timer's state by name like any
// control's: Enabled and Interval are the timer's own.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"
#include "platform/runtime/timer.h"

namespace platform {

class TimerControl : public Control {
  public:
    TimerControl(Window& parent, std::string name);
    const char* kind() const override { return "Timer"; }
    std::string_view defaultProperty() const override { return "Enabled"; }

    Timer& timer() { return timer_; }
    const Timer& timer() const { return timer_; }

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    Timer timer_;
};

}  // namespace platform
