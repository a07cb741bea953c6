#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/desktop.h"
#include "platform/windows/key_codes.h"
#include "platform/controls/list_view.h"
#include "platform/controls/text_box.h"
#include "platform/driver/user_driver.h"
#include "platform/windows/window.h"

using namespace platform;

namespace {

std::string stroke(int keyAscii) {
    const KeyStroke k = keyStrokeFor(keyAscii);
    return std::to_string(k.keyCode) + "/" + std::to_string(k.shift);
}

// A window that logs its key events; KeyDown may hide it.
class KeyWindow : public Window {
  public:
    KeyWindow(Desktop& d, std::vector<std::string>& log)
        : Window(d, "Keys"), text(add<TextBox>("text")), list(add<ListView>("list")), log_(log) {}
    TextBox& text;
    ListView& list;
    bool hideOnKeyDown = false;

  protected:
    void Form_KeyDown(int& keyCode, int shift) override {
        log_.push_back("down " + std::to_string(keyCode) + "/" + std::to_string(shift));
        keyCode = 0;  // does not swallow the key press that follows
        if (hideOnKeyDown) Hide();
    }
    void Form_KeyPress(int& keyAscii) override {
        log_.push_back("press " + std::to_string(keyAscii));
    }

  private:
    std::vector<std::string>& log_;
};

struct KeyFixture : ::testing::Test {
    Desktop desktop;
    std::vector<std::string> log;
    FormSlot<KeyWindow> slot{desktop, "Keys", log};
    UserDriver driver{desktop};
    KeyWindow& w() { return slot(); }
    void SetUp() override { w().Show(); }
};

}  // namespace

TEST(KeyStrokes, CharactersMapToTheKeyAndShiftThatTypeThem) {
    EXPECT_EQ(stroke('f'), "70/0");
    EXPECT_EQ(stroke('F'), "70/1");
    EXPECT_EQ(stroke('7'), "55/0");
    EXPECT_EQ(stroke('&'), "55/1");
    EXPECT_EQ(stroke(')'), "48/1");
    EXPECT_EQ(stroke('.'), "190/0");  // not 46, the Delete key
    EXPECT_EQ(stroke('>'), "190/1");
    EXPECT_EQ(stroke('"'), "222/1");
    EXPECT_EQ(stroke('~'), "192/1");
    for (int named : {8, 9, 13, 27, 32}) EXPECT_EQ(stroke(named), std::to_string(named) + "/0");
    EXPECT_EQ(stroke(1), "65/2");  // Ctrl+A
    EXPECT_EQ(stroke(26), "90/2");
    for (int none : {0, 28, 31, 127, 128, 228, 255, -1, 300})
        EXPECT_EQ(stroke(none), "0/0") << none;
}

TEST_F(KeyFixture, WindowKeyDownComesBeforeKeyPress) {
    EXPECT_TRUE(driver.key("Keys", 'q'));
    EXPECT_TRUE(driver.key("Keys", 27));
    EXPECT_EQ(log, (std::vector<std::string>{"down 81/0", "press 113", "down 27/0", "press 27"}));
}

TEST_F(KeyFixture, AKeyDownThatHidesTheWindowTakesTheKeyPressWithIt) {
    w().hideOnKeyDown = true;
    EXPECT_TRUE(driver.key("Keys", 'Q'));
    EXPECT_EQ(log, (std::vector<std::string>{"down 81/1"}));
    EXPECT_FALSE(driver.key("Keys", 'Q'));  // hidden now: no events at all
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(KeyFixture, ControlKeyDownThenKeyPressThenTyping) {
    TextBox& text = w().text;
    text.onKeyDown = [&](int& code, int shift) {
        log.push_back("down " + std::to_string(code) + "/" + std::to_string(shift) + " [" +
                      text.Text() + "]");
    };
    text.onKeyPress = [&](int& key) { log.push_back("press " + std::to_string(key)); };
    text.onChange = [&] { log.push_back("change " + text.Text()); };
    EXPECT_TRUE(driver.key("Keys.text", 'a'));
    EXPECT_EQ(log, (std::vector<std::string>{"down 65/0 []", "press 97", "change a"}));

    // A KeyDown handler that disables the box stops the key there.
    log.clear();
    text.onKeyDown = [&](int&, int) {
        log.push_back("down");
        text.setEnabled(false);
    };
    EXPECT_TRUE(text.userKey('b'));
    EXPECT_EQ(log, std::vector<std::string>{"down"});
    EXPECT_EQ(text.Text(), "a");
}

TEST_F(KeyFixture, KeysTypedIntoAnOpenCellEditorRaiseNoKeyEventsOfTheList) {
    ListView& list = w().list;
    list.AddItem("row");
    list.onKeyDown = [&](int& code, int) { log.push_back("down " + std::to_string(code)); };
    list.onKeyPress = [&](int& key) { log.push_back("press " + std::to_string(key)); };
    EXPECT_TRUE(list.userKey('x'));
    list.StartSubItemEdit(1, 1, "");
    EXPECT_TRUE(list.userKey('y'));
    EXPECT_EQ(list.EditText(), "y");
    EXPECT_EQ(log, (std::vector<std::string>{"down 88", "press 120"}));
}
