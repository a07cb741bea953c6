#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/windows/desktop.h"
#include "platform/controls/line_shape.h"
#include "platform/controls/list_view.h"
#include "platform/controls/message_box.h"
#include "platform/controls/text_box.h"
#include "platform/driver/user_driver.h"
#include "platform/windows/window.h"

using namespace platform;

namespace {
class Panel : public Window {
  public:
    explicit Panel(Desktop& d)
        : Window(d, "Panel"),
          go(add<Button>("go")),
          box(add<CheckBox>("box")),
          name(add<TextBox>("name")),
          rows(add<ListView>("rows")),
          dir3(add<Button>("dir", 3)),
          edge(add<LineShape>("edge")) {}
    Button& go;
    CheckBox& box;
    TextBox& name;
    ListView& rows;
    Button& dir3;
    LineShape& edge;
    int loads = 0;

  protected:
    void Form_Load() override { ++loads; }
};

struct Fixture {
    Desktop desktop;
    FormSlot<Panel> panel{desktop, "Panel"};
    MessageBoxes boxes{desktop};
    UserDriver driver{desktop};
};
}  // namespace

TEST(UserDriver, ParsesTargets) {
    auto t = UserDriver::parseTarget("MatrixForm.richtung(10)");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->window, "MatrixForm");
    EXPECT_EQ(t->control, "richtung");
    EXPECT_EQ(t->index, 10);
    EXPECT_TRUE(UserDriver::parseTarget("MatrixForm")->control.empty());
    for (const char* bad : {"", ".x", "W.", "W.c(", "W.c()", "W.c(x)", "W.c(1", "W c", "W.c(-1)"})
        EXPECT_FALSE(UserDriver::parseTarget(bad)) << bad;
}

TEST(UserDriver, ReachesControlsByNameAndLoadsTheirWindowFirst) {
    Fixture f;
    EXPECT_EQ(f.panel.peek(), nullptr);
    EXPECT_EQ(f.driver.property("Panel.dir(3).Kind"), "Button");
    EXPECT_EQ(f.panel().loads, 1);
    EXPECT_THROW(f.driver.control("Panel.dir"), DriverError);  // only index 3 exists
    EXPECT_THROW(f.driver.control("Nowhere.go"), DriverError);
    EXPECT_THROW(f.driver.property("Panel.go.NoSuchProperty"), DriverError);
    EXPECT_THROW(f.driver.set("Panel.go", "1"), DriverError);  // a button takes no value
}

TEST(UserDriver, UserInputNeedsAShownEnabledWindowNotBehindAModalOne) {
    Fixture f;
    int clicks = 0;
    f.panel().go.onClick = [&] { ++clicks; };
    EXPECT_FALSE(f.driver.click("Panel.go"));  // window not shown
    f.panel().Show();
    EXPECT_TRUE(f.driver.click("Panel.go"));
    f.panel().go.setEnabled(false);
    EXPECT_FALSE(f.driver.click("Panel.go"));
    f.panel().go.setEnabled(true);
    f.desktop.autoAcknowledgeMessages = false;
    bool blocked = false;
    f.desktop.queueAction([&] { blocked = !f.driver.click("Panel.go"); });
    f.desktop.queueAction([&] { EXPECT_TRUE(f.driver.click("MsgBox.OK")); });
    EXPECT_EQ(f.boxes.MsgBox("hello", vbOKOnly, "Kavrel"), vbOK);
    EXPECT_TRUE(blocked);
    EXPECT_EQ(clicks, 1);
}

TEST(UserDriver, MessagesAreSeenAndAcknowledgedOrHeldUntilAnswered) {
    Fixture f;
    std::vector<std::string> seen;
    f.desktop.onMessage = [&](Window&, const std::string& text) { seen.push_back(text); };
    EXPECT_EQ(f.boxes.MsgBox("first", vbYesNo), vbYes);  // acknowledged at once
    f.desktop.autoAcknowledgeMessages = false;
    f.desktop.queueAction([&] {
        // A second message while the first waits replaces its text.
        EXPECT_EQ(f.boxes.MsgBox("second"), vbYes);
    });
    f.desktop.queueAction([&] { f.driver.click("MsgBox.No"); });
    EXPECT_EQ(f.boxes.MsgBox("third", vbYesNo), vbNo);
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "third", "second"}));
    EXPECT_EQ(f.desktop.lastMessage(), "second");
}

TEST(UserDriver, ListRowsCellsAndPropertiesWithParentheses) {
    Fixture f;
    f.panel().Show();
    ListView& rows = f.panel().rows;
    rows.AddItem("one");
    rows.AddItem("two");
    std::vector<std::string> log;
    rows.onClick = [&] { log.push_back("click"); };
    rows.onAfterCellEdit = [&](const std::string& o, const std::string& n) {
        log.push_back(o + "->" + n);
    };
    EXPECT_TRUE(f.driver.select("Panel.rows", 2));
    EXPECT_EQ(f.driver.property("Panel.rows.SelectedIndex"), "2");
    EXPECT_TRUE(f.driver.edit("Panel.rows", 1, 1, "x"));
    EXPECT_EQ(log, (std::vector<std::string>{"click", "->x"}));
    EXPECT_THROW(f.driver.select("Panel.go", 1), DriverError);
}

TEST(UserDriver, AControlNamedWhereAPropertyGoesNamesTheOneMeant) {
    Fixture f;
    const auto failure = [&](const char* asked) {
        try {
            f.driver.property(asked);
        } catch (const DriverError& e) {
            return std::string(e.what());
        }
        return std::string("answered");
    };
    EXPECT_EQ(failure("Panel.box"),
              "unknown property: Panel.box (Panel.box is a control: did you mean "
              "Panel.box.Value?)");
    EXPECT_EQ(failure("Panel.dir"),
              "unknown property: Panel.dir (Panel.dir is a control array: did you mean "
              "Panel.dir(3).Caption?)");
    EXPECT_EQ(failure("Panel.dir(3)"),
              "unknown property: Panel.dir(3) (Panel.dir(3) is a control: did you mean "
              "Panel.dir(3).Caption?)");
    // A kind that holds no value of its own: one of the properties it answers.
    EXPECT_EQ(failure("Panel.edge"),
              "unknown property: Panel.edge (Panel.edge is a control: name one of its "
              "properties, e.g. Panel.edge.X1)");
    EXPECT_EQ(failure("Panel.dir(4)"), "unknown property: Panel.dir(4)");
}

TEST(UserDriver, QueuedDialogAnswersArriveInOrder) {
    Fixture f;
    f.driver.answerFile("/tmp/a.Kavrel");
    f.driver.answerFont("Arial", 12, true);
    f.driver.answerCancel();
    auto a = f.desktop.takeDialogAnswer();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->path, "/tmp/a.Kavrel");
    EXPECT_EQ(f.desktop.takeDialogAnswer()->fontName, "Arial");
    EXPECT_EQ(f.desktop.takeDialogAnswer()->kind, DialogAnswer::Kind::Cancel);
    EXPECT_FALSE(f.desktop.takeDialogAnswer());
}
