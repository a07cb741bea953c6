#include "platform/controls/timer_control.h"

#include "platform/windows/desktop.h"
#include "platform/windows/window.h"

namespace platform {

TimerControl::TimerControl(Window& parent, std::string name)
    : Control(parent, name), timer_(parent.desktop().loop(), name) {
    setVisible(false);
}

std::optional<std::string> TimerControl::answerProperty(PropertyQuery& q) const {
    if (q.is("Enabled")) return platform::propertyBool(timer_.Enabled());
    if (q.is("Interval")) return platform::propertyNumber(timer_.Interval());
    return Control::answerProperty(q);
}

}  // namespace platform
