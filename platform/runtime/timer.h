#pragma once
// A periodic timer with an enabled flag and an interval in milliseconds.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

class EventLoop;

class Timer {
  public:
    Timer(EventLoop& loop, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }

    bool Enabled() const { return enabled_; }
    // True on a running timer keeps its phase; False stops it at once.
    void setEnabled(bool on);
    int32_t Interval() const { return interval_; }
    // Neither starts nor stops the timer; a pending tick keeps its time and the
    // new interval applies from the next period. Below 1 ticks every 1 ms.
    void setInterval(int32_t ms);

    // The tick handler. It is never re-entered: a tick that falls due while it
    // runs (inside a modal wait) is dropped.
    std::function<void()> onTimer;

    int64_t dueAt() const { return due_; }
    uint64_t ticks() const { return ticks_; }

  private:
    int64_t period() const { return interval_ < 1 ? 1 : interval_; }

    EventLoop& loop_;
    std::string name_;
    bool enabled_ = false;
    int32_t interval_ = 0;
    int64_t due_ = 0;
    uint64_t seq_ = 0;
    bool running_ = false;
    uint64_t ticks_ = 0;

    friend class EventLoop;
};

}  // namespace platform
