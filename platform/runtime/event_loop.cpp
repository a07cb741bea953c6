#include "platform/runtime/event_loop.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/runtime/timer.h"

namespace platform {

namespace {
int64_t wallMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
// Virtual time starts at this time of day (09:00), so reseeds see a plausible clock.
constexpr double kVirtualDayStart = 9 * 3600.0;
}  // namespace

EventLoop::EventLoop(ClockMode mode) : mode_(mode), startWallMs_(wallMs()) {}

EventLoop::~EventLoop() {
    for (Timer* t : timers_) t->enabled_ = false;
}

int64_t EventLoop::now() const {
    return mode_ == ClockMode::Virtual ? virtualNow_ : wallMs() - startWallMs_;
}

double EventLoop::secondsSinceMidnight() const {
    if (mode_ == ClockMode::Virtual)
        return kVirtualDayStart + static_cast<double>(virtualNow_) / 1000.0;
    using namespace std::chrono;
    const auto nowTp = system_clock::now();
    const std::time_t tt = system_clock::to_time_t(nowTp);
    std::tm local{};
    localtime_r(&tt, &local);
    const auto ms = duration_cast<milliseconds>(nowTp.time_since_epoch()).count() % 1000;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
           static_cast<double>(ms) / 1000.0;
}

void EventLoop::attach(Timer* t) {
    t->seq_ = nextSeq_++;
    timers_.push_back(t);
}

void EventLoop::detach(Timer* t) {
    std::erase(timers_, t);
}

Timer* EventLoop::nextDue(int64_t limit) const {
    Timer* best = nullptr;
    for (Timer* t : timers_) {
        if (!t->enabled_ || t->due_ > limit) continue;
        if (!best || t->due_ < best->due_ || (t->due_ == best->due_ && t->seq_ < best->seq_))
            best = t;
    }
    return best;
}

int64_t EventLoop::msUntilNextDue() const {
    Timer* t = nextDue(INT64_MAX);
    if (!t) return -1;
    return std::max<int64_t>(0, t->due_ - now());
}

void EventLoop::fire(Timer* t) {
    // The next period counts from this tick; a tick that finds its own handler
    // still running (inside a modal wait) is dropped.
    t->due_ += t->period();
    if (t->running_ || !t->onTimer) return;
    t->running_ = true;
    ++t->ticks_;
    struct Reset {
        Timer* timer;
        ~Reset() { timer->running_ = false; }
    } reset{t};
    auto handler = t->onTimer;  // the handler may replace itself
    handler();
}

void EventLoop::poll() {
    auto pollers = pollers_;
    for (auto& [id, fn] : pollers) fn();
}

void EventLoop::runDue() {
    poll();
    const int64_t limit = now();
    while (Timer* t = nextDue(limit)) {
        if (mode_ == ClockMode::Virtual) virtualNow_ = std::max(virtualNow_, t->due_);
        fire(t);
    }
}

void EventLoop::wait(int64_t ms) {
    if (ms < 0) ms = 0;
    const int64_t target = now() + ms;
    if (mode_ == ClockMode::Virtual) {
        while (Timer* t = nextDue(target)) {
            virtualNow_ = std::max(virtualNow_, t->due_);
            poll();
            fire(t);
        }
        virtualNow_ = std::max(virtualNow_, target);
        poll();
        return;
    }
    for (;;) {
        runDue();
        const int64_t left = target - now();
        if (left <= 0) break;
        int64_t nap = std::min<int64_t>(left, 5);
        const int64_t next = msUntilNextDue();
        if (next >= 0) nap = std::min(nap, next);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max<int64_t>(nap, 0)));
    }
}

int EventLoop::addPoller(std::function<void()> fn) {
    const int id = nextPollerId_++;
    pollers_.emplace_back(id, std::move(fn));
    return id;
}

void EventLoop::removePoller(int id) {
    std::erase_if(pollers_, [id](const auto& p) { return p.first == id; });
}

void EventLoop::setActionSource(std::function<bool()> runNextAction) {
    actionSource_ = std::move(runNextAction);
}

void EventLoop::runModal(const std::string& windowName, const std::function<bool()>& isOpen) {
    ++modalDepth_;
    struct Depth {
        int& d;
        ~Depth() { --d; }
    } depth{modalDepth_};
    while (isOpen()) {
        runDue();
        if (!isOpen()) break;
        if (!actionSource_ || !actionSource_()) throw ModalStall(windowName);
    }
}

}  // namespace platform
