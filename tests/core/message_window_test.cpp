// The message window: centred over the main window, modal, and a second
// message while one waits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/msg_form.h"
#include "kavrel_session.h"

namespace kavrel::testing {
namespace {

TEST(MessageWindow, CentredOverTheMainWindow) {
    KavrelSession s;
    MatrixForm& main = s.form();
    main.move(1500, 900, main.Width(), main.Height());
    s.k().showMessage("hello");
    MsgForm& box = s.k().msgForm();
    EXPECT_EQ(box.Left(), main.Left() + main.Width() / 2 - box.Width() / 2);
    EXPECT_EQ(box.Top(), main.Top() + main.Height() / 2 - box.Height() / 2);
    EXPECT_EQ(box.msgText.Caption(), "hello");
    EXPECT_FALSE(box.Visible());  // acknowledged as soon as it was shown
}

TEST(MessageWindow, ASecondMessageWhileOneWaitsReplacesItsText) {
    KavrelSession s;
    platform::Desktop& d = s.plugin().desktop();
    d.autoAcknowledgeMessages = false;
    std::vector<std::string> trace;
    d.queueAction([&] {
        trace.push_back("waiting");
        s.wait(100);  // timers tick while the message waits
        s.k().showMessage("second");
        trace.push_back("second returned");
    });
    d.queueAction([&] {
        trace.push_back("ok");
        ASSERT_TRUE(s.driver.click("MsgForm.OK"));
    });
    s.state().dirtyM = true;
    s.k().showMessage("first");
    trace.push_back("first returned");

    EXPECT_EQ(trace,
              (std::vector<std::string>{"waiting", "second returned", "ok", "first returned"}));
    EXPECT_EQ(s.messages(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(s.k().msgForm().msgText.Caption(), "second");
    EXPECT_FALSE(s.k().msgForm().Visible());
    EXPECT_EQ(d.loop().modalDepth(), 0);
    EXPECT_FALSE(s.state().dirtyM);  // the mix pane redrew during the wait
}

}  // namespace
}  // namespace kavrel::testing
