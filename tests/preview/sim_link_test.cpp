// The simulator link on the real host against listeners on the loopback
// address: connecting, refusing, streaming, peers that go away or never
// read, closing the window, and the main window's reload.
#include <poll.h>

#include <gtest/gtest.h>

#include <string>

#include "preview/mx_ext_sim_form.h"
#include "tests/core/kavrel_session.h"
#include "tests/support/sim_listener.h"

namespace kavrel::testing {
namespace {

struct LinkSession : KavrelSession {
    explicit LinkSession(const orva::StartOptions& o = {}) : KavrelSession(o) {}
    MxExtSimForm& net() { return form().previews().extSimForm(); }
    void tickNetwork() { ASSERT_TRUE(driver.click("MatrixForm.extmxsim_active")); }
    void connectTo(const std::string& hostText, const std::string& port) {
        ASSERT_TRUE(driver.set("MxExtSimForm.myHostText", hostText));
        ASSERT_TRUE(driver.set("MxExtSimForm.myPortText", port));
        ASSERT_TRUE(driver.click("MxExtSimForm.ConnectB"));
    }
    // Changes one light of the output as a mix would.
    void setLight(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        state().frameM.setRgb(x, y, r, g, b);
        state().dirtySim = true;
    }
    bool showsRefused() {
        return !state().extSimConnected && net().ConnectB.Caption() == "Connect" &&
               net().connection.BackColor() == state().colorRed &&
               form().extmxsim_active.ForeColor() == state().colorRed;
    }
    // Lets ticks run and the listener read, until `done` or a bounded count.
    template <class Done>
    void runUntil(SimListener& l, Done done, int rounds = 300) {
        for (int i = 0; i < rounds && !done(); ++i) {
            wait(30);
            l.pump(10);
        }
    }
};

TEST(SimLinkTest, TickingNetworkOpensTheWindowWithItsDesignValues) {
    LinkSession s;
    s.tickNetwork();
    MxExtSimForm& n = s.net();
    EXPECT_TRUE(n.Visible());
    EXPECT_EQ(n.Caption(), "Network connection");
    EXPECT_EQ(n.myPortText.Text(), "57123");
    EXPECT_EQ(n.myHostText.Text(), "localhost");
    EXPECT_EQ(n.ConnectB.Caption(), "Connect");
    EXPECT_EQ(n.connection.BackColor(), platform::rgb(255, 128, 128));
    EXPECT_TRUE(s.form().updateVoVevTimer.Enabled());
    EXPECT_TRUE(s.state().dirtySim);
    EXPECT_FLOAT_EQ(n.Top() + n.Height() / 2, s.form().Top() + s.form().Height() / 2);
}

TEST(SimLinkTest, ConnectShowsTheStateThenStreamsTheWholeFrameAndThenOnlyChanges) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", std::string(" ").append(l.portText()).append(" "));
    ASSERT_EQ(s.messages().size(), 1u);
    const int shown = std::stoi(s.messages()[0]);
    EXPECT_TRUE(shown == 6 || shown == 7) << s.messages()[0];
    ASSERT_TRUE(s.state().extSimConnected);
    EXPECT_EQ(s.net().ConnectB.Caption(), "Disconnect");
    EXPECT_EQ(s.net().connection.BackColor(), s.state().colorGreen);
    EXPECT_EQ(s.form().extmxsim_active.ForeColor(), s.state().colorGreen);

    // The whole current frame arrives at the next tick, black lights too.
    s.runUntil(l, [&] { return l.records().size() >= 144; });
    ASSERT_EQ(l.records().size(), 144u);
    EXPECT_EQ(l.records()[12].x, 1);
    EXPECT_EQ(l.records()[12].y, 0);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) EXPECT_EQ(l.light(x, y), s.state().frameM.rgb(x, y));

    l.forget();
    s.setLight(1, 0, 255, 0, 0);
    s.setLight(0, 5, 0, 0, 9);
    s.runUntil(l, [&] { return l.records().size() >= 2; });
    s.wait(60);
    l.pump(5);
    ASSERT_EQ(l.records().size(), 2u) << "only the changed lights, once";
    EXPECT_EQ(l.records()[0].x, 0);
    EXPECT_EQ(l.records()[0].y, 5);
    EXPECT_EQ(l.records()[1].x, 1);
    EXPECT_EQ(l.records()[1].r, 255);
    const std::string wire = l.bytes().substr(11, 11);
    EXPECT_EQ(wire, std::string("\x01\x00\x00\x00\x00\x00\x00\x00\xFF\x00\x00", 11));
}

TEST(SimLinkTest, ListenerPictureEqualsTheMixPaneAfterAFade) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("localhost", l.portText());
    ASSERT_TRUE(s.state().extSimConnected);
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeLeft"));
    s.runUntil(
        l, [&] { return !s.form().timerM.Enabled(); }, 200);
    s.wait(60);
    l.pump(20);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) ASSERT_EQ(l.light(x, y), s.state().frameM.rgb(x, y));
    EXPECT_EQ(l.light(4, 4), platform::rgb(255, 0, 0)) << "all bank A after the fade";
}

TEST(SimLinkTest, NoListenerOrBadInputCountsAsRefused) {
    LinkSession s;
    SimListener closed(false);
    s.tickNetwork();
    s.connectTo("127.0.0.1", closed.portText());
    EXPECT_EQ(s.messages().size(), 1u);
    // The refusal may still be on its way when the box closes (then the link
    // counts as connected until a tick sees it).
    for (int i = 0; i < 300 && !s.showsRefused(); ++i) {
        s.wait(30);
        ::poll(nullptr, 0, 10);
    }
    EXPECT_TRUE(s.showsRefused());

    const std::string closedPort = closed.portText();
    for (const auto& [hostText, port] :
         {std::pair{"127.0.0.1", "abc"}, std::pair{"127.0.0.1", "0"},
          std::pair{"127.0.0.1", "70000"}, std::pair{"127.0.0.1", "12x"},
          std::pair{"127.0.0.1", ""}, std::pair{"", closedPort.c_str()},
          std::pair{"no-such-host.invalid", "57123"}}) {
        SCOPED_TRACE(std::string(hostText) + ":" + port);
        s.connectTo(hostText, port);
        EXPECT_TRUE(s.showsRefused());
    }
    EXPECT_EQ(s.messages().back(), "9") << "an unresolvable host: error state";
}

TEST(SimLinkTest, APeerThatClosesEndsTheLinkWithoutHarm) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.state().extSimConnected);
    s.runUntil(l, [&] { return l.records().size() >= 144; });
    l.closeClient();
    for (int i = 0; i < 50 && s.state().extSimConnected; ++i) {
        s.setLight(i % 12, 0, static_cast<uint8_t>(i), 1, 1);
        s.wait(30);
    }
    EXPECT_TRUE(s.showsRefused());
    EXPECT_EQ(s.form().extmxsim_active.Value(), 1) << "the box stays; the user may connect again";
}

TEST(SimLinkTest, APeerThatNeverReadsCannotStallTheLoopOrGrowWithoutBound) {
    LinkSession s(gridOptions(50, 50));
    SimListener l(true, 4096);
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.state().extSimConnected);
    // Every light changes at every tick; nobody reads. 27.5 kB a tick passes
    // the socket's 16 MiB cap within some hundreds of ticks.
    int ticks = 0;
    for (; ticks < 3000 && s.state().extSimConnected; ++ticks) {
        const uint8_t v = static_cast<uint8_t>(ticks % 2 == 0 ? 200 : 100);
        for (int x = 0; x < 50; ++x)
            for (int y = 0; y < 50; ++y) s.state().frameM.setRgb(x, y, v, v, v);
        s.state().dirtySim = true;
        s.wait(30);
    }
    EXPECT_FALSE(s.state().extSimConnected);
    EXPECT_GT(ticks, 500) << "a healthy stretch before the cap";
    EXPECT_TRUE(s.showsRefused());
}

TEST(SimLinkTest, OneLargeBurstToAReadingPeerKeepsTheLink) {
    LinkSession s(gridOptions(50, 50));
    SimListener l(true, 4096);
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 50; ++y) s.state().frameM.setRgb(x, y, 5, 6, 7);
    s.state().dirtySim = true;
    s.runUntil(
        l, [&] { return l.records().size() >= 2500; }, 300);
    EXPECT_EQ(l.records().size(), 2500u);
    EXPECT_TRUE(s.state().extSimConnected);
}

TEST(SimLinkTest, CloseWhileConnectedOnlyHidesAndUntickingEndsTheLink) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.driver.click("MxExtSimForm.CloseB"));
    EXPECT_FALSE(s.net().Visible());
    EXPECT_EQ(s.form().extmxsim_active.Value(), 1);
    s.runUntil(l, [&] { return l.records().size() >= 144; });
    EXPECT_EQ(l.records().size(), 144u) << "records keep flowing";

    s.tickNetwork();  // off
    EXPECT_TRUE(s.showsRefused());
    l.pump(50);
    l.pump(50);
    EXPECT_EQ(s.form().Winsock1.State(), 0);
}

TEST(SimLinkTest, CloseWhileNotConnectedUnticksAndTheCloseBoxActsAsClose) {
    LinkSession s;
    s.tickNetwork();
    ASSERT_TRUE(s.driver.close("MxExtSimForm"));
    EXPECT_FALSE(s.net().Visible());
    EXPECT_EQ(s.form().extmxsim_active.Value(), 0);

    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.driver.close("MxExtSimForm"));
    EXPECT_TRUE(s.state().extSimConnected);
    s.tickNetwork();
    s.tickNetwork();
    EXPECT_EQ(s.net().ConnectB.Caption(), "Connect") << "the window shows the live state";
}

TEST(SimLinkTest, ReconnectingSendsTheWholeFrameToTheNewSimulator) {
    LinkSession s;
    SimListener first;
    s.tickNetwork();
    s.connectTo("127.0.0.1", first.portText());
    s.runUntil(first, [&] { return first.records().size() >= 144; });
    ASSERT_TRUE(s.driver.click("MxExtSimForm.ConnectB"));  // Disconnect
    EXPECT_TRUE(s.showsRefused());

    SimListener second;
    s.connectTo("127.0.0.1", second.portText());
    ASSERT_TRUE(s.state().extSimConnected);
    s.runUntil(second, [&] { return second.records().size() >= 144; });
    EXPECT_EQ(second.records().size(), 144u);
}

TEST(SimLinkTest, UnloadingTheMainWindowEndsTheLink) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.state().extSimConnected);
    s.form().Unload();
    EXPECT_FALSE(s.state().extSimConnected);
    MatrixForm& again = s.form();
    EXPECT_EQ(again.extmxsim_active.Value(), 0);
    EXPECT_FALSE(s.state().extSimConnected);
    s.wait(100);  // ticks of the new window send nothing anywhere
}

TEST(SimLinkTest, PreviewCancelKeepsAConnectedLinkStreaming) {
    LinkSession s;
    SimListener l;
    s.tickNetwork();
    s.connectTo("127.0.0.1", l.portText());
    ASSERT_TRUE(s.driver.click("MatrixForm.vovev_active"));
    ASSERT_TRUE(s.driver.click("MxDxSimConf.Command2"));
    EXPECT_TRUE(s.form().updateVoVevTimer.Enabled());
    // Cancel cleared the changed flag; the next change sends what waits.
    s.setLight(2, 2, 1, 2, 3);
    s.runUntil(l, [&] { return l.records().size() >= 144; });
    EXPECT_EQ(l.records().size(), 144u);
    EXPECT_EQ(l.light(2, 2), platform::rgb(1, 2, 3));
}

}  // namespace
}  // namespace kavrel::testing
