#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/desktop.h"
#include "platform/driver/user_driver.h"
#include "platform/windows/window.h"

using namespace platform;

namespace {

// A window that logs its size, paint and unload events; its QueryUnload can
// cancel, or unload the window once more from inside.
class Logged : public Window {
  public:
    Logged(Desktop& d, std::vector<std::string>& log) : Window(d, "Logged"), log_(log) {}
    bool cancelQuery = false;
    bool unloadInsideQuery = false;

  protected:
    void Form_Resize() override { log_.push_back("Resize"); }
    void Form_Activate() override { log_.push_back("Activate"); }
    void Form_Paint() override { log_.push_back("Paint"); }
    void Form_QueryUnload(int& cancel, int mode) override {
        log_.push_back("QueryUnload " + std::to_string(mode));
        if (unloadInsideQuery) Unload();
        cancel = cancelQuery ? 1 : 0;
    }
    void Form_Unload(int&) override { log_.push_back("Unload"); }

  private:
    std::vector<std::string>& log_;
};

struct WindowEvents : ::testing::Test {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<Logged> slot{desktop, "Logged", log};
    UserDriver driver{desktop};
    Logged& w() { return slot(); }
    std::vector<std::string> take() {
        auto out = std::move(log);
        log.clear();
        return out;
    }
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(WindowEvents, ShownWindowIsRepaintedWhenItsClientAreaChangesSize) {
    w().setWidth(6000);  // before the first show: the show's Resize covers it
    EXPECT_TRUE(take().empty());
    w().Show();
    EXPECT_EQ(take(), (Events{"Resize", "Activate", "Paint"}));
    w().setWidth(w().Width() + 150);
    EXPECT_EQ(take(), (Events{"Resize", "Paint"}));
    w().setHeight(w().Height() + 1);  // less than a pixel: the client area stays
    EXPECT_EQ(take(), (Events{"Resize"}));
    w().setWindowState(2);
    EXPECT_EQ(take(), (Events{"Resize", "Paint"}));
    w().setWindowState(7);  // no such state
    w().setWindowState(-1);
    EXPECT_EQ(w().WindowState(), 2);
    w().setStyle(w().Style() & ~WS_CAPTION);
    w().setWindowState(0);
    w().frameChanged();  // the caption's height goes to the client area
    EXPECT_EQ(take(), (Events{"Resize", "Paint", "Resize", "Paint"}));
}

TEST_F(WindowEvents, HiddenWindowGetsResizeButNoPaintUntilShownAgain) {
    w().Show();
    w().Hide();
    take();
    w().move(0, 0, 3000, 2000);
    EXPECT_EQ(take(), (Events{"Resize"}));
    EXPECT_EQ(w().surface().width(), 3000 / 15 - 8);
    w().Show();
    EXPECT_EQ(take(), (Events{"Activate", "Paint"}));
}

TEST_F(WindowEvents, UnloadFromCodeAsksQueryUnloadFirstAndCanBeCancelled) {
    w().Show();
    take();
    w().cancelQuery = true;
    w().Unload();
    EXPECT_EQ(take(), (Events{"QueryUnload 1"}));
    EXPECT_TRUE(w().Visible());
    EXPECT_NE(slot.peek(), nullptr);
    w().cancelQuery = false;
    Logged* old = &w();
    old->Unload();
    EXPECT_EQ(take(), (Events{"QueryUnload 1", "Unload"}));
    EXPECT_EQ(slot.peek(), nullptr);
    old->Unload();  // not loaded any more: nothing runs
    EXPECT_TRUE(take().empty());
}

TEST_F(WindowEvents, CloseBoxAsksWithItsOwnModeAndUnloadsOnce) {
    w().Show();
    take();
    w().cancelQuery = true;
    EXPECT_TRUE(driver.close("Logged"));
    EXPECT_EQ(take(), (Events{"QueryUnload 0"}));
    EXPECT_TRUE(w().Visible());
    w().cancelQuery = false;
    w().unloadInsideQuery = true;  // an Unload inside the unload changes nothing
    EXPECT_TRUE(driver.close("Logged"));
    EXPECT_EQ(take(), (Events{"QueryUnload 0", "Unload"}));
    EXPECT_EQ(slot.peek(), nullptr);
}

TEST_F(WindowEvents, CloseBoxEndsAModalWait) {
    desktop.queueAction([&] { EXPECT_TRUE(driver.close("Logged")); });
    w().Show(true);
    EXPECT_EQ(take(), (Events{"Resize", "Activate", "Paint", "QueryUnload 0", "Unload"}));
    EXPECT_EQ(desktop.topModal(), nullptr);
    EXPECT_EQ(desktop.loop().modalDepth(), 0);
}
