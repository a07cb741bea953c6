#include "platform/runtime/timer.h"

#include "platform/runtime/event_loop.h"

namespace platform {

Timer::Timer(EventLoop& loop, std::string name) : loop_(loop), name_(std::move(name)) {
    loop_.attach(this);
}

Timer::~Timer() {
    loop_.detach(this);
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;  // re-enabling a running timer keeps its phase
    enabled_ = on;
    if (on) due_ = loop_.now() + period();
}

void Timer::setInterval(int32_t ms) {
    interval_ = ms;
}

}  // namespace platform
