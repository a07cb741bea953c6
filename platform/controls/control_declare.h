#pragma once
// Declaring a window's controls once: each macro declares the member and
// adds the control to the window under the member's own name, so a name and
// a member cannot disagree. Use them in the class body of a Window subclass;
// controls are made in declaration order, after the Window base.
#include <array>
#include <cstddef>
#include <string>

#include "platform/controls/timer_control.h"
#include "platform/windows/window.h"

namespace platform {

// A control array: the controls name(0) .. name(N-1).
template <class T, size_t N>
class ControlArray {
  public:
    ControlArray(Window& parent, const std::string& name) {
        for (size_t i = 0; i < N; ++i) items_[i] = &parent.add<T>(name, static_cast<int>(i));
    }
    T& operator[](size_t i) { return *items_.at(i); }
    const T& operator[](size_t i) const { return *items_.at(i); }
    static constexpr size_t size() { return N; }

  private:
    std::array<T*, N> items_{};
};

}  // namespace platform

#define PLATFORM_CONTROL(Type, name) Type& name = this->template add<Type>(#name)
#define PLATFORM_CONTROL_ARRAY(Type, name, count) \
    ::platform::ControlArray<Type, count> name {  \
        *this, #name                              \
    }
#define PLATFORM_TIMER(name) \
    ::platform::Timer& name = this->template add<::platform::TimerControl>(#name).timer()
