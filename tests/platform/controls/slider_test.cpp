#include <gtest/gtest.h>

#include <vector>

#include "platform/windows/desktop.h"
#include "platform/controls/slider.h"
#include "platform/windows/window.h"

namespace platform {
namespace {

class SliderTest : public ::testing::Test {
  protected:
    SliderTest() {
        w.Show();
        s.onChange = [this] { changes.push_back(s.Value()); };
        s.onScroll = [this] { scrolls.push_back(s.Value()); };
    }
    Desktop d;
    Window w{d, "Form1"};
    Slider& s = w.add<Slider>("Slider1");
    std::vector<int32_t> changes;
    std::vector<int32_t> scrolls;
};

TEST_F(SliderTest, CodeValuesAreClampedWithoutBogusChange) {
    s.setValue(40);
    s.setValue(40);
    s.setValue(500);  // to Max
    s.setValue(100);  // already there
    s.setValue(-3);
    s.setValue(-30);
    EXPECT_EQ(changes, (std::vector<int32_t>{40, 100, 0}));
}

TEST_F(SliderTest, NarrowingTheRangeMovesTheValueOnce) {
    s.setMax(255);
    s.setValue(200);
    changes.clear();
    s.setMin(10);  // the value stays inside: nothing
    s.setMax(150);
    s.setMax(120);
    s.setMin(130);  // Min above Max: the range lies between them, 120 is in it
    s.setValue(5);  // clamps to 120: unchanged
    s.setValue(125);
    s.setValue(999);
    EXPECT_EQ(changes, (std::vector<int32_t>{150, 120, 125, 130}));
    s.setMin(INT32_MIN);
    s.setMax(INT32_MAX);
    s.setValue(INT32_MAX);
    EXPECT_EQ(s.Value(), INT32_MAX);
}

TEST_F(SliderTest, UserTextIsParsedAndClamped) {
    EXPECT_TRUE(s.userSet(" 42 "));
    EXPECT_TRUE(s.userSet("+42"));
    EXPECT_TRUE(s.userSet("99999999999999999999999"));
    EXPECT_TRUE(s.userSet("-99999999999999999999999"));
    for (const char* bad : {"", "abc", "4.5", "-", "+-3", "12px", "0x10"}) {
        EXPECT_THROW(s.userSet(bad), UserActionError) << bad;
    }
    EXPECT_EQ(changes, (std::vector<int32_t>{42, 100, 0}));
    s.setEnabled(false);
    EXPECT_FALSE(s.userSet("7"));
    EXPECT_EQ(s.Value(), 0);
}

TEST_F(SliderTest, DragScrollsEachStepAndChangesOnceAtRelease) {
    EXPECT_TRUE(s.userScroll(10));
    EXPECT_TRUE(s.userScroll(10));
    EXPECT_TRUE(s.userScroll(300));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(s.userRelease());
    EXPECT_EQ(scrolls, (std::vector<int32_t>{10, 10, 100}));
    EXPECT_EQ(changes, (std::vector<int32_t>{100}));
    EXPECT_FALSE(s.userRelease());  // no drag any more

    // Dragged away and back: Scroll for each step, no Change.
    s.userScroll(60);
    s.userScroll(100);
    EXPECT_TRUE(s.userRelease());
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(scrolls.size(), 5u);
}

TEST_F(SliderTest, ChangeHandlersNestAcrossSliders) {
    auto& other = w.add<Slider>("Slider2");
    std::vector<int> order;
    s.onChange = [&] {
        order.push_back(1);
        other.setValue(s.Value() / 2);
        order.push_back(3);
    };
    other.onChange = [&] { order.push_back(2); };
    s.setValue(50);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(other.property("Value"), "25");
}

TEST_F(SliderTest, MouseDragFollowsTheOrientation) {
    s.move(0, 0, 200, 50);  // horizontal: 0 at the left, 100 at the right
    EXPECT_TRUE(s.userMouse(MouseAction::Down, 50, 25, 1, 0));
    EXPECT_TRUE(s.userMouse(MouseAction::Move, 101, 40, 1, 0));  // 50.5: half to even
    EXPECT_TRUE(s.userMouse(MouseAction::Move, 900, 0, 1, 0));   // past the end
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(s.userMouse(MouseAction::Up, 900, 0, 1, 0));
    EXPECT_EQ(scrolls, (std::vector<int32_t>{25, 50, 100}));
    EXPECT_EQ(changes, (std::vector<int32_t>{100}));
    EXPECT_FALSE(s.dragging());

    // Vertical: Max at the top, whatever the width.
    s.setOrientation(1);
    s.setOrientation(5);  // no such orientation
    EXPECT_EQ(s.Orientation(), 1);
    s.setMax(255);
    s.move(0, 0, 20, 255);
    s.userMouse(MouseAction::Down, 10, 0, 1, 0);
    s.userMouse(MouseAction::Up, 10, 255, 1, 0);  // released at the bottom
    EXPECT_EQ(scrolls.back(), 255);
    EXPECT_EQ(s.Value(), 0);
    EXPECT_EQ(changes, (std::vector<int32_t>{100, 0}));  // once, from the drag's start
}

TEST_F(SliderTest, OnlyTheLeftButtonDragsAndAFlatSliderStaysPut) {
    s.move(0, 0, 100, 10);
    int downs = 0;
    s.onMouseDown = [&](int, int, float, float) { ++downs; };
    s.userMouse(MouseAction::Down, 70, 5, 2, 0);
    s.userMouse(MouseAction::Move, 80, 5, 2, 0);
    s.userMouse(MouseAction::Up, 80, 5, 2, 0);
    EXPECT_EQ(downs, 1);
    s.move(0, 0, 0, 10);
    s.userMouse(MouseAction::Down, 70, 5, 1, 0);
    s.userMouse(MouseAction::Up, 70, 5, 1, 0);
    EXPECT_EQ(s.Value(), 0);
    EXPECT_TRUE(scrolls.empty());
    EXPECT_TRUE(changes.empty());
}

TEST_F(SliderTest, DisabledSliderTakesNoDrag) {
    s.setEnabled(false);
    EXPECT_FALSE(s.userScroll(30));
    s.move(0, 0, 100, 10);
    EXPECT_FALSE(s.userMouse(MouseAction::Down, 30, 5, 1, 0));
    EXPECT_FALSE(s.dragging());
    EXPECT_EQ(s.Value(), 0);
    EXPECT_TRUE(scrolls.empty());
}

}  // namespace
}  // namespace platform
