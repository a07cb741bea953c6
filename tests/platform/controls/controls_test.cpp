#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/controls/line_shape.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace platform {
namespace {

struct ShownWindow {
    Desktop desktop;
    Window window{desktop, "Form1"};
    ShownWindow() { window.Show(); }
};

class ControlsTest : public ::testing::Test {
  protected:
    ShownWindow f;
    Window& w = f.window;
};

TEST_F(ControlsTest, CheckBoxRaisesClickInsideSetterOnlyOnChange) {
    auto& box = w.add<CheckBox>("Check1");
    std::vector<int> seen;
    box.onClick = [&] { seen.push_back(box.Value()); };
    box.setValue(1);
    ASSERT_EQ(seen, std::vector<int>{1});  // already raised when the setter returned
    box.setValue(1);
    box.setValue(3);
    box.setValue(-1);
    EXPECT_EQ(box.Value(), 1);
    box.setValue(2);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

TEST_F(ControlsTest, CheckBoxUserActions) {
    auto& box = w.add<CheckBox>("Check1");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    EXPECT_TRUE(box.userClick());
    EXPECT_EQ(box.Value(), 1);
    EXPECT_TRUE(box.userClick());
    EXPECT_EQ(box.Value(), 0);
    EXPECT_TRUE(box.userSet("2"));
    EXPECT_TRUE(box.userSet("2"));  // unchanged: no Click
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(box.userClick());  // greyed goes to unchecked
    EXPECT_EQ(box.Value(), 0);
    EXPECT_THROW(box.userSet("3"), UserActionError);
    EXPECT_THROW(box.userSet(""), UserActionError);
    EXPECT_EQ(box.property("Value"), "0");
    EXPECT_EQ(clicks, 4);
}

TEST_F(ControlsTest, ControlsThatCannotBeReachedTakeNoUserAction) {
    auto& box = w.add<CheckBox>("Check1");
    auto& button = w.add<Button>("Command1");
    auto& text = w.add<TextBox>("Text1");
    int events = 0;
    box.onClick = [&] { ++events; };
    button.onClick = [&] { ++events; };
    text.onChange = [&] { ++events; };
    box.setEnabled(false);
    button.setEnabled(false);
    text.setEnabled(false);
    EXPECT_FALSE(box.userClick());
    EXPECT_FALSE(box.userSet("1"));
    EXPECT_FALSE(button.userClick());
    EXPECT_FALSE(text.userSet("x"));
    EXPECT_FALSE(text.userKey('x'));
    button.setEnabled(true);
    w.Hide();
    EXPECT_FALSE(button.userClick());
    EXPECT_EQ(events, 0);
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(text.Text(), "");
}

TEST_F(ControlsTest, HandlerSettingAnotherControlRunsItsHandlerBeforeReturning) {
    auto& box = w.add<CheckBox>("Check1");
    auto& text = w.add<TextBox>("Text1");
    std::vector<std::string> order;
    box.onClick = [&] {
        order.push_back("click in");
        text.setText("on");
        order.push_back("click out");
    };
    text.onChange = [&] { order.push_back("change " + text.Text()); };
    box.userClick();
    EXPECT_EQ(order, (std::vector<std::string>{"click in", "change on", "click out"}));
}

TEST_F(ControlsTest, ChangeHandlerSettingTheSameTextDoesNotRecurse) {
    auto& text = w.add<TextBox>("Text1");
    int changes = 0;
    text.onChange = [&] {
        ++changes;
        text.setText(text.Text());
    };
    text.setText("abc");
    text.setText("abc");
    EXPECT_TRUE(text.userSet("abc"));
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, TextBoxTyping) {
    auto& text = w.add<TextBox>("Text1");
    std::vector<std::string> changes;
    text.onChange = [&] { changes.push_back(text.Text()); };
    text.onKeyPress = [](int& key) {
        if (key == 'x') key = 0;    // swallowed
        if (key == 'q') key = 'Q';  // replaced
    };
    for (int key : {int{'a'}, int{'x'}, int{'q'}, 13, 27, 7, 233}) EXPECT_TRUE(text.userKey(key));
    EXPECT_EQ(text.Text(), "aQ\xC3\xA9");
    EXPECT_TRUE(text.userKey(8));  // removes the whole two-byte character
    EXPECT_EQ(text.Text(), "aQ");
    EXPECT_EQ(changes, (std::vector<std::string>{"a", "aQ", "aQ\xC3\xA9", "aQ"}));
    text.setText("");
    changes.clear();
    EXPECT_TRUE(text.userKey(8));
    EXPECT_TRUE(text.userKey(300));
    EXPECT_TRUE(changes.empty());
}

TEST_F(ControlsTest, TextEntryHoldsOnlyWhatWindows1252Keeps) {
    // What the user sees is what a project file keeps: the text box, typed
    // or pasted, and the list's cell editor alike.
    auto& text = w.add<TextBox>("Text1");
    EXPECT_TRUE(text.userSet("Gr\u00fc\u00dfe \u20ac \u03a9\u03bb \u0416\u0436 \u4e2d \U0001F600"));
    EXPECT_EQ(text.Text(), "Gr\u00fc\u00dfe \u20ac ?? ?? ? ?");
    EXPECT_TRUE(text.userSet("x\xFFy"));  // not UTF-8 at all
    EXPECT_EQ(text.Text(), "x?y");
    EXPECT_TRUE(text.userKey(128));  // the key code is a Windows-1252 byte
    EXPECT_TRUE(text.userKey(0x9F));
    EXPECT_EQ(text.Text(), "x?y\u20ac\u0178");
    text.setText("\u03a9 from code");  // code may show what it likes
    EXPECT_EQ(text.Text(), "\u03a9 from code");

    auto& list = w.add<ListView>("List1");
    list.AddItem("one");
    EXPECT_TRUE(list.userEditCell(1, 0, "\u03a9\u03bb \u00e4"));
    EXPECT_EQ(list.Item(1).Text, "?? \u00e4");
    list.StartSubItemEdit(1, 0, "");
    EXPECT_TRUE(list.userKey(0x80));
    EXPECT_TRUE(list.userKey(13));
    EXPECT_EQ(list.Item(1).Text, "\u20ac");
}

TEST_F(ControlsTest, LockedTextBoxReportsKeysButTakesNoTyping) {
    auto& text = w.add<TextBox>("Text1");
    text.setText("fixed");
    text.setLocked(true);
    int keys = 0;
    text.onKeyPress = [&](int&) { ++keys; };
    EXPECT_TRUE(text.userKey('a'));
    EXPECT_TRUE(text.userKey(8));
    EXPECT_FALSE(text.userSet("other"));
    EXPECT_EQ(text.Text(), "fixed");
    EXPECT_EQ(keys, 2);
    text.setText("code may");  // code still writes it
    EXPECT_EQ(text.property("Text"), "code may");
}

TEST_F(ControlsTest, ComboIndexFromCodeRaisesClickOnlyForANewItem) {
    auto& combo = w.add<ComboBox>("Combo1");
    for (const char* s : {"Red", "Green", "Blue"}) combo.AddItem(s);
    std::vector<int> clicks;
    combo.onClick = [&] { clicks.push_back(combo.ListIndex()); };
    combo.setListIndex(1);
    combo.setListIndex(1);
    EXPECT_EQ(combo.Text(), "Green");
    combo.setListIndex(3);  // past the end
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    combo.setListIndex(2);
    combo.setListIndex(-7);
    EXPECT_EQ(combo.ListIndex(), -1);
    combo.setListIndex(0);
    combo.setListIndex(-1);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
    combo.setListIndex(2);
    combo.Clear();
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.ListCount(), 0);
    combo.setListIndex(0);  // empty list
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(clicks.size(), 4u);
}

TEST_F(ControlsTest, ComboUserChoice) {
    auto& combo = w.add<ComboBox>("Combo1");
    for (const char* s : {"Red", "Blue", "Blue"}) combo.AddItem(s);
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    EXPECT_TRUE(combo.userSet("Blue"));
    EXPECT_EQ(combo.ListIndex(), 1);  // the first match
    EXPECT_TRUE(combo.userSet("#1"));
    EXPECT_EQ(clicks, 2);  // the same item again still clicks
    EXPECT_TRUE(combo.userSet("#2"));
    EXPECT_EQ(combo.ListIndex(), 2);
    for (const char* bad : {"Green", "#3", "#-1", "#", "#1x", "", "#99999999999999999999"}) {
        EXPECT_THROW(combo.userSet(bad), UserActionError) << bad;
    }
    EXPECT_EQ(combo.ListIndex(), 2);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(combo.property("List(0)"), "Red");
    EXPECT_EQ(combo.property("List(3)"), std::nullopt);
    EXPECT_EQ(combo.property("ListCount"), "3");
    combo.setEnabled(false);
    EXPECT_FALSE(combo.userSet("Red"));
}

TEST_F(ControlsTest, OptionButtonsClearOnlyTheirGroup) {
    auto& a = w.add<OptionButton>("Opt", 0);
    auto& b = w.add<OptionButton>("Opt", 1);
    auto& c = w.add<OptionButton>("Other");
    c.setGroup("Frame2");
    std::vector<std::string> clicks;
    a.onClick = [&] { clicks.push_back("a"); };
    b.onClick = [&] { clicks.push_back("b"); };
    c.onClick = [&] { clicks.push_back("c"); };
    a.setValue(true);
    c.setValue(true);
    a.setValue(true);  // already chosen: no Click
    EXPECT_TRUE(b.userClick());
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(c.Value());
    EXPECT_TRUE(b.userClick());  // chosen again: Click all the same
    EXPECT_EQ(clicks, (std::vector<std::string>{"a", "c", "b", "b"}));
    b.setValue(false);
    EXPECT_EQ(b.property("Value"), "False");
    a.setEnabled(false);
    EXPECT_FALSE(a.userClick());
    EXPECT_FALSE(a.Value());
}

TEST_F(ControlsTest, PictureButtonTellsWhichPictureItShows) {
    auto& button = w.add<Button>("richtung", 3);
    auto normal = std::make_shared<const Surface>(16, 16, rgb(1, 1, 1));
    auto down = std::make_shared<const Surface>(16, 16, rgb(2, 2, 2));
    auto off = std::make_shared<const Surface>(16, 16, rgb(3, 3, 3));
    EXPECT_EQ(button.shownPicture(), "None");
    button.setPicture(normal);
    button.setDownPicture(down);
    button.setDisabledPicture(off);
    EXPECT_EQ(button.shownPicture(), "Picture");
    button.setPicture(button.DownPicture());
    EXPECT_EQ(button.property("ShownPicture"), "DownPicture");
    button.setPicture(button.DisabledPicture());
    EXPECT_EQ(button.shownPicture(), "DisabledPicture");
    button.setPicture(normal);
    EXPECT_EQ(button.shownPicture(), "Picture");
    button.setPicture(nullptr);
    EXPECT_EQ(button.shownPicture(), "None");
    // Disabled, the button shows its inactive look whatever Picture holds.
    button.setPicture(button.DownPicture());
    button.setEnabled(false);
    EXPECT_EQ(button.shownPicture(), "DisabledPicture");
    button.setEnabled(true);
    EXPECT_EQ(button.shownPicture(), "DownPicture");
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    EXPECT_TRUE(button.userClick());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, CaptionsAndLineProperties) {
    auto& label = w.add<Label>("Label1");
    auto& frame = w.add<Frame>("Frame1");
    auto& line = w.add<LineShape>("Line1");
    label.setCaption("Speed");
    frame.setCaption("Beams");
    line.setX2(12.5f);
    line.setBorderColor(0x80000005u);
    EXPECT_EQ(label.property("Caption"), "Speed");
    EXPECT_EQ(frame.property("Caption"), "Beams");
    EXPECT_EQ(frame.property("Kind"), "Frame");
    EXPECT_EQ(line.property("X2"), "12.5");
    EXPECT_EQ(line.property("BorderColor"), "-2147483643");
    EXPECT_EQ(line.property("Visible"), "True");
    EXPECT_EQ(line.property("Caption"), std::nullopt);
    EXPECT_THROW(line.userClick(), UserActionError);
    int clicks = 0;
    label.onClick = [&] { ++clicks; };
    EXPECT_TRUE(label.userClick());
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace platform
