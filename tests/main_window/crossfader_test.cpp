// The crossfader and the timed fades.
#include <gtest/gtest.h>

#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

TEST(Crossfader, UserMoveSetsMixPosAndMixes) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "50"));
    EXPECT_EQ(s.state().mixPos, 0.75);
    // 255 x 0.25 = 63.75 and 255 x 0.75 = 191.25.
    EXPECT_EQ(s.plugin().framePixel('M', 3, 3), platform::rgb(64, 0, 191));
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "-100"));
    EXPECT_EQ(s.state().mixPos, 0.0);
    EXPECT_EQ(s.plugin().framePixel('M', 0, 0), platform::rgb(255, 0, 0));
}

TEST(Crossfader, TimedFadeShowsMixPosRoundedHalfToEvenWithoutChangingIt) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "-100"));
    // 0.16 s: 16 steps of 10 ms, each an exact sixteenth, so that
    // mixPos x 200 - 100 falls on halves every other step.
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "0.16"));
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    const int shown[16] = {-88, -75, -62, -50, -38, -25, -12, 0, 12, 25, 38, 50, 62, 75, 88, 100};
    for (int k = 1; k <= 16; ++k) {
        s.wait(10);
        EXPECT_EQ(s.state().mixPos, k / 16.0) << "step " << k;
        EXPECT_EQ(s.form().faderM.Value(), shown[k - 1]) << "step " << k;
        EXPECT_EQ(s.form().timerM.Enabled(), k < 16) << "step " << k;
    }
    EXPECT_EQ(s.plugin().framePixel('M', 5, 5), platform::rgb(0, 0, 255));
}

TEST(Crossfader, TimedFadeReachesTheFarSideExactlyInItsTime) {
    KavrelSession s;  // 3 seconds from the middle towards bank A
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeLeft"));
    EXPECT_EQ(s.prop("MatrixForm.timerM.Interval"), "30");
    s.wait(2990);
    EXPECT_GT(s.state().mixPos, 0.0);
    EXPECT_TRUE(s.form().timerM.Enabled());
    s.wait(10);
    EXPECT_EQ(s.state().mixPos, 0.0);
    EXPECT_EQ(s.form().faderM.Value(), -100);
    EXPECT_FALSE(s.form().timerM.Enabled());
    EXPECT_EQ(s.plugin().framePixel('M', 0, 0), platform::rgb(255, 0, 0));
}

TEST(Crossfader, LongFadeKeepsAtMostOneHundredSteps) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "800"));
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    EXPECT_EQ(s.prop("MatrixForm.timerM.Interval"), "8000");
    s.wait(800000);
    EXPECT_EQ(s.state().mixPos, 1.0);
    EXPECT_FALSE(s.form().timerM.Enabled());
}

TEST(Crossfader, UserMoveCancelsTheTimedFade) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    s.wait(900);
    ASSERT_TRUE(s.form().timerM.Enabled());
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "20"));
    EXPECT_FALSE(s.form().timerM.Enabled());
    EXPECT_EQ(s.state().mixPos, 0.6);
    s.wait(5000);
    EXPECT_EQ(s.state().mixPos, 0.6);
}

TEST(Crossfader, FadeTypeFadeListAndCloseallCancelTheTimedFade) {
    KavrelSession s;
    MatrixForm& f = s.form();
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "BlackFade"));
    EXPECT_FALSE(f.timerM.Enabled());

    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    ASSERT_TRUE(s.driver.select("MatrixForm.efxXList", 1));
    EXPECT_FALSE(f.timerM.Enabled());

    ASSERT_TRUE(s.driver.click("MatrixForm.fadeLeft"));
    s.wait(300);
    const double reached = s.state().mixPos;
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(f.timerM.Enabled());
    s.wait(3000);
    EXPECT_EQ(s.state().mixPos, reached);
}

}  // namespace
}  // namespace kavrel::testing
