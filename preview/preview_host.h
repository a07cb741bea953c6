#pragma once
// What the previews and the simulator link use of the main window: the
// window itself (for centring), its two switches, the simulator timer, the
// four effect timers that a full redraw pauses, and its TCP client.
#include <array>

#include "platform/controls/check_box.h"
#include "platform/runtime/timer.h"
#include "platform/windows/window.h"
#include "platform/sockets/winsock.h"

namespace kavrel {

struct PreviewHost {
    platform::Window& main;
    platform::CheckBox& vovevActive;
    platform::CheckBox& networkActive;
    platform::Timer& simTimer;
    // timerA1, timerA2, timerB1, timerB2, in this order.
    std::array<platform::Timer*, 4> effectTimers;
    platform::Winsock& socket;
};

// Places `w` centred over the main window, in window units.
inline void centreOver(platform::Window& w, const platform::Window& main) {
    w.setLeft(main.Left() + main.Width() / 2 - w.Width() / 2);
    w.setTop(main.Top() + main.Height() / 2 - w.Height() / 2);
}

}  // namespace kavrel
