// The colour mixer: the pickers' hand-over, the ramps and their markers, and
// taking a channel value from a ramp.
#include <gtest/gtest.h>

#include "core/color_mixer.h"
#include "kavrel_session.h"
#include "platform/drawing/system_colors.h"

namespace kavrel::testing {
namespace {

// The colour drawn at ramp row y (x = 5).
uint32_t rampAt(platform::PictureBox& ramp, int y) {
    return static_cast<uint32_t>(ramp.canvas().Point(5, static_cast<float>(y)));
}

class ColorMixer : public ::testing::Test {
  protected:
    // Runs `pick` with the user's actions queued for the modal wait.
    template <typename Pick, typename User>
    uint32_t pickWith(Pick pick, User user) {
        s.plugin().desktop().queueAction(user);
        return pick();
    }
    MxColorMixer& mixer() { return s.k().colorMixer(); }

    KavrelSession s;
};

TEST_F(ColorMixer, OkGivesTheMixAndCancelGivesTheOldColourExactly) {
    const uint32_t system = 0x80000005u;  // a system colour
    const uint32_t ok = pickWith([&] { return pickColor(s.k(), system); },
                                 [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.BOK")); });
    EXPECT_EQ(ok, platform::sysColor(5));
    EXPECT_EQ(s.state().mixerColor, platform::sysColor(5));
    EXPECT_EQ(s.state().mixerOldColor, system);

    const uint32_t cancelled =
        pickWith([&] { return pickColor(s.k(), system); },
                 [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel")); });
    EXPECT_EQ(cancelled, system);
    EXPECT_FALSE(mixer().Visible());

    // The close box answers as Cancel.
    const uint32_t closed = pickWith([&] { return pickColor(s.k(), platform::rgb(4, 5, 6)); },
                                     [&] { ASSERT_TRUE(s.driver.close("MxColorMixer")); });
    EXPECT_EQ(closed, platform::rgb(4, 5, 6));
    EXPECT_FALSE(mixer().Visible());
}

TEST_F(ColorMixer, NewColourPickersLeaveTheOldColourSoCancelGivesThePreviousUse) {
    EXPECT_EQ(pickWith([&] { return pickNewColor(s.k(), platform::rgb(1, 2, 3)); },
                       [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel")); }),
              0u);  // black before any use
    pickWith([&] { return pickColor(s.k(), platform::rgb(9, 8, 7)); },
             [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.BOK")); });
    EXPECT_EQ(pickWith([&] { return pickNewColor(s.k(), platform::rgb(1, 2, 3)); },
                       [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel")); }),
              platform::rgb(9, 8, 7));
    EXPECT_EQ(pickWith([&] { return pickNewColor(s.k(), platform::rgb(1, 2, 3)); },
                       [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.BOK")); }),
              platform::rgb(1, 2, 3));
}

TEST_F(ColorMixer, RampsShowEachChannelWithTheOtherTwoAndAMarkerByTheMean) {
    MxColorMixer& m = mixer();
    m.Sred.setValue(128);
    m.Sgreen.setValue(128);
    m.Sblue.setValue(128);
    EXPECT_EQ(rampAt(m.Pred, 127), platform::rgb(0, 128, 128));
    EXPECT_EQ(rampAt(m.Pgreen, 0), platform::rgb(128, 254, 128));
    EXPECT_EQ(rampAt(m.Pred, 63), platform::rgb(255, 255, 255));  // marker at 127 - 64, mean 128
    EXPECT_EQ(m.Presult.BackColor(), platform::rgb(128, 128, 128));

    m.Sred.setValue(129);
    m.Sgreen.setValue(129);
    m.Sblue.setValue(130);
    EXPECT_EQ(rampAt(m.Pblue, 62), platform::rgb(0, 0, 0));  // mean 129: black marker
    // The old marker row is a ramp row again.
    EXPECT_EQ(rampAt(m.Pred, 64), platform::rgb(126, 129, 130));
}

TEST_F(ColorMixer, RampClickTakesTheRowsValueAndAWhiteMarkerGivesFull) {
    MxColorMixer& m = mixer();
    m.Show(false);  // user input reaches shown windows only
    m.Sred.setValue(0);
    m.Sgreen.setValue(0);
    m.Sblue.setValue(0);
    ASSERT_TRUE(s.driver.mouse("MxColorMixer.Pgreen", platform::MouseAction::Down, 4, 27.5f));
    ASSERT_TRUE(s.driver.mouse("MxColorMixer.Pgreen", platform::MouseAction::Up, 4, 27.5f));
    EXPECT_EQ(m.pickY, 28);  // half to even
    EXPECT_EQ(m.Sgreen.Value(), 2 * (127 - 28));
    EXPECT_EQ(m.Presult.BackColor(), platform::rgb(0, 198, 0));

    // All black: the marker is white and sits on row 127 of each ramp.
    m.Sgreen.setValue(0);
    m.pickY = 127;
    m.Pred.onClick();
    EXPECT_EQ(m.Sred.Value(), 255);
}

TEST_F(ColorMixer, CloseallHidesTheMixerAndAWaitingPickerGoesOnAsAfterCancel) {
    pickWith([&] { return pickColor(s.k(), platform::rgb(9, 9, 9)); },
             [&] { ASSERT_TRUE(s.driver.click("MxColorMixer.BOK")); });
    EXPECT_TRUE(mixer().closedByOk());
    const uint32_t got = pickWith([&] { return pickColor(s.k(), platform::rgb(7, 7, 7)); },
                                  [&] { s.k().editors().hideForCloseall(); });
    EXPECT_EQ(got, platform::rgb(7, 7, 7));
    EXPECT_FALSE(mixer().closedByOk());
    EXPECT_FALSE(mixer().Visible());
}

}  // namespace
}  // namespace kavrel::testing
