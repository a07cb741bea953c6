#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/windows/desktop.h"
#include "platform/runtime/event_loop.h"
#include "platform/runtime/timer.h"
#include "platform/windows/window.h"

using namespace platform;

TEST(Timers, FireInDueOrderTiesInCreationOrder) {
    EventLoop loop;
    std::vector<std::string> log;
    Timer a(loop, "a"), b(loop, "b");
    a.onTimer = [&] { log.push_back("a@" + std::to_string(loop.now())); };
    b.onTimer = [&] { log.push_back("b@" + std::to_string(loop.now())); };
    a.setInterval(20);
    b.setInterval(10);
    b.setEnabled(true);
    a.setEnabled(true);
    loop.wait(40);
    EXPECT_EQ(log, (std::vector<std::string>{"b@10", "a@20", "b@20", "b@30", "a@40", "b@40"}));
    EXPECT_EQ(loop.now(), 40);
}

TEST(Timers, EnablingARunningTimerKeepsItsPhaseAndDisablingKeepsTheInterval) {
    EventLoop loop;
    std::vector<int64_t> at;
    Timer t(loop, "t");
    t.onTimer = [&] { at.push_back(loop.now()); };
    t.setInterval(30);
    t.setEnabled(true);
    loop.wait(20);
    t.setEnabled(true);  // already running: no restart
    loop.wait(20);
    EXPECT_EQ(at, (std::vector<int64_t>{30}));
    t.setEnabled(false);
    EXPECT_EQ(t.Interval(), 30);
    loop.wait(100);
    EXPECT_EQ(at.size(), 1u);
    t.setEnabled(true);  // from 140: next at 170
    loop.wait(30);
    EXPECT_EQ(at, (std::vector<int64_t>{30, 170}));
}

TEST(Timers, NewIntervalAppliesFromTheNextPeriodAndNeverStartsOrStops) {
    EventLoop loop;
    std::vector<int64_t> at;
    Timer t(loop, "t");
    t.onTimer = [&] { at.push_back(loop.now()); };
    t.setInterval(100);
    t.setInterval(50);  // stopped timer stays stopped
    loop.wait(200);
    EXPECT_TRUE(at.empty());
    t.setEnabled(true);  // due at 250
    loop.wait(10);
    t.setInterval(10);  // pending tick keeps its time
    EXPECT_TRUE(t.Enabled());
    loop.wait(70);
    EXPECT_EQ(at, (std::vector<int64_t>{250, 260, 270, 280}));
}

TEST(Timers, IntervalBelowOneTicksEveryMillisecond) {
    EventLoop loop;
    int ticks = 0;
    Timer t(loop, "t");
    t.onTimer = [&] { ++ticks; };
    t.setInterval(-5);
    t.setEnabled(true);
    loop.wait(10);
    EXPECT_EQ(ticks, 10);
    t.setInterval(0);
    loop.wait(5);
    EXPECT_EQ(ticks, 15);
}

TEST(Timers, AHandlerMayStopAndRestartTimersIncludingItself) {
    EventLoop loop;
    std::vector<std::string> log;
    Timer a(loop, "a"), b(loop, "b");
    a.setInterval(10);
    b.setInterval(10);
    a.onTimer = [&] {
        log.push_back("a" + std::to_string(loop.now()));
        a.setEnabled(false);
        b.setEnabled(false);  // b was due at the same time: it must not fire
        a.setEnabled(true);
    };
    b.onTimer = [&] { log.push_back("b" + std::to_string(loop.now())); };
    a.setEnabled(true);
    b.setEnabled(true);
    loop.wait(25);
    EXPECT_EQ(log, (std::vector<std::string>{"a10", "a20"}));
}

TEST(Timers, AHandlerThatFailsIsNotLeftMarkedAsRunning) {
    EventLoop loop;
    int ticks = 0;
    Timer t(loop, "t");
    t.onTimer = [&] {
        if (++ticks == 1) throw std::runtime_error("first tick fails");
    };
    t.setInterval(10);
    t.setEnabled(true);
    EXPECT_THROW(loop.wait(10), std::runtime_error);
    loop.wait(20);  // the tick after the failure runs the handler again
    EXPECT_EQ(ticks, 3);
}

namespace {
// A window that only records its events.
class Recorder : public Window {
  public:
    Recorder(Desktop& d, std::vector<std::string>& log) : Window(d, "Recorder"), log_(log) {}
    std::vector<std::string>& log_;

  protected:
    void Form_Load() override { log_.push_back("Load"); }
    void Form_Resize() override { log_.push_back("Resize"); }
    void Form_Activate() override { log_.push_back("Activate"); }
    void Form_Unload(int&) override { log_.push_back("Unload"); }
};
}  // namespace

TEST(ModalWaits, TimersTickWhileAModalWindowWaitsAndItsOwnHandlerIsNotReentered) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    Timer self(desktop.loop(), "self"), other(desktop.loop(), "other");
    int selfTicks = 0, otherTicks = 0;
    other.onTimer = [&] { ++otherTicks; };
    self.onTimer = [&] {
        ++selfTicks;
        desktop.queueAction([&] { desktop.loop().wait(100); });
        desktop.queueAction([&] { slot().Hide(); });
        slot().Show(true);  // waits here while the queued actions run
    };
    self.setInterval(10);
    other.setInterval(10);
    self.setEnabled(true);
    other.setEnabled(true);
    desktop.loop().wait(10);
    EXPECT_EQ(selfTicks, 1);
    EXPECT_EQ(otherTicks, 11);  // 10..110, all inside the modal wait
    EXPECT_FALSE(slot().Visible());
    EXPECT_EQ(desktop.loop().now(), 110);
}

TEST(ModalWaits, AModalWaitWithNoActionLeftNamesTheWindow) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    try {
        slot().Show(true);
        FAIL() << "a modal wait with nothing to do must not return";
    } catch (const ModalStall& e) {
        EXPECT_EQ(e.window, "Recorder");
    }
    EXPECT_EQ(desktop.topModal(), nullptr);
}

TEST(ModalWaits, ShowingAWaitingModalWindowAgainReturnsAtOnceAndNestingWorks) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    bool innerReturned = false;
    desktop.queueAction([&] {
        slot().Show(true);  // already waiting: must not fail or nest
        innerReturned = true;
    });
    desktop.queueAction([&] { slot().Hide(); });
    slot().Show(true);
    EXPECT_TRUE(innerReturned);
    EXPECT_EQ(desktop.topModal(), nullptr);
}

TEST(Windows, LoadOnFirstAccessResizeOnFirstShowActivateOnEveryShow) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    EXPECT_EQ(slot.peek(), nullptr);
    EXPECT_TRUE(log.empty());
    ASSERT_NE(desktop.window("Recorder"), nullptr);  // access by name loads it
    EXPECT_EQ(log, (std::vector<std::string>{"Load"}));
    slot().Show();
    slot().Hide();
    slot().Show();
    EXPECT_EQ(log, (std::vector<std::string>{"Load", "Resize", "Activate", "Activate"}));
    slot().setWidth(slot().Width() + 150);
    EXPECT_EQ(log.back(), "Resize");
}

TEST(Windows, AnUnloadedWindowIsMadeAndLoadedAfreshOnTheNextAccess) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    Recorder* first = &slot();
    first->setCaption("changed");
    first->Show();
    first->Unload();
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(slot.peek(), nullptr);
    Recorder& second = slot();
    EXPECT_NE(&second, first);
    EXPECT_EQ(second.Caption(), "Recorder");
    EXPECT_EQ(log, (std::vector<std::string>{"Load", "Resize", "Activate", "Unload", "Load"}));
}

TEST(Windows, ClientSizeFollowsCaptionStyleAndMaximisedState) {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Recorder> slot(desktop, "Recorder", log);
    Recorder& w = slot();
    w.setScaleMode(ScaleMode::Pixels);
    w.move(0, 0, 3000, 3000);  // 200 x 200 px outside
    const float withCaption = w.ScaleHeight();
    w.setStyle(w.Style() & ~WS_CAPTION);
    EXPECT_EQ(w.ScaleHeight(), withCaption);  // not applied until the frame changes
    w.frameChanged();
    EXPECT_GT(w.ScaleHeight(), withCaption);
    w.setWindowState(2);
    EXPECT_EQ(w.ScaleWidth(), static_cast<float>(Window::kScreenWidth));
}
