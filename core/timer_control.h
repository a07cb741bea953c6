#pragma once
// A timer placed on a window. It sits among the window's controls (hidden,
// never taking input) so that scripts read a timer's state by name like any
// control's: Enabled and Interval are the timer's own.
#include <optional>
#include <string>
#include <string_view>

#include "platform/control.h"
#include "platform/timer.h"

namespace kavrel {

class TimerControl : public platform::Control {
  public:
    TimerControl(platform::Window& parent, std::string name);
    const char* kind() const override { return "Timer"; }

    platform::Timer& timer() { return timer_; }
    const platform::Timer& timer() const { return timer_; }

    std::optional<std::string> property(std::string_view name) const override;

  private:
    platform::Timer timer_;
};

}  // namespace kavrel
