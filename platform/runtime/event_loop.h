#pragma once
// The one event loop of a plug-in instance: a clock (virtual or wall), the timers
// that tick on it, and the modal waits that keep them ticking.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

class Timer;

enum class ClockMode { Virtual, Realtime };

// Raised when a modal window waits in virtual time and no user action is left:
// nothing else could ever close it, so waiting would hang.
class ModalStall : public std::runtime_error {
  public:
    explicit ModalStall(const std::string& windowName)
        : std::runtime_error("modal window waits for a user action: " + windowName),
          window(windowName) {}
    std::string window;
};

class EventLoop {
  public:
    explicit EventLoop(ClockMode mode = ClockMode::Virtual);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    ClockMode mode() const { return mode_; }
    // Milliseconds since the loop was made.
    int64_t now() const;
    // Wall-clock seconds since midnight with fraction (virtual mode: a fixed
    // start of day plus the virtual time), for reseeding random numbers.
    double secondsSinceMidnight() const;

    // Lets `ms` milliseconds pass: every timer that falls due fires in order of
    // due time, ties in creation order. Realtime mode really sleeps.
    void wait(int64_t ms);
    // Fires what is due now without moving virtual time.
    void runDue();
    // Milliseconds until the next enabled timer falls due (-1: none).
    int64_t msUntilNextDue() const;

    // Called on every pass of a wait (socket polling and the like).
    int addPoller(std::function<void()> poll);
    void removePoller(int id);

    // Modal display: runs user actions (from the action source) until isOpen()
    // turns false. Timers go on ticking whenever an action lets time pass.
    void runModal(const std::string& windowName, const std::function<bool()>& isOpen);
    // The source of user actions for modal waits: runs one action and returns
    // true, or returns false when there is none.
    void setActionSource(std::function<bool()> runNextAction);
    int modalDepth() const { return modalDepth_; }

    // Timer bookkeeping (used by Timer).
    void attach(Timer* t);
    void detach(Timer* t);

  private:
    Timer* nextDue(int64_t limit) const;
    void fire(Timer* t);
    void poll();

    ClockMode mode_;
    int64_t virtualNow_ = 0;
    int64_t startWallMs_ = 0;
    std::vector<Timer*> timers_;
    uint64_t nextSeq_ = 0;
    std::vector<std::pair<int, std::function<void()>>> pollers_;
    int nextPollerId_ = 1;
    std::function<bool()> actionSource_;
    int modalDepth_ = 0;

    friend class Timer;
};

}  // namespace platform
