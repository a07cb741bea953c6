// The fade-time box, the fade-type selector and the fade name.
#include <gtest/gtest.h>

#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

TEST(FadeTime, NonNumericTextIsReportedAndResetToThree) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "12.5"));
    ASSERT_EQ(s.state().fadeTime, 12.5);
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "abc"));
    EXPECT_EQ(s.plugin().desktop().lastMessage(), "Fade time must be numeric");
    EXPECT_EQ(s.form().fadeTimeText.Text(), "3.00");
    EXPECT_EQ(s.state().fadeTime, 3.0);
    EXPECT_EQ(s.state().fadeList[0].time, 3.0);
    EXPECT_EQ(s.messages().size(), 1u);
}

TEST(FadeTime, OutOfRangeIsReportedAndBoundsAreAccepted) {
    KavrelSession s;
    for (const char* bad : {"0.09", "800.01", "-3"}) {
        ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "7"));
        ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", bad));
        EXPECT_EQ(s.plugin().desktop().lastMessage(),
                  "Fade time must be between 0.1 and 800 seconds")
            << bad;
        EXPECT_EQ(s.state().fadeTime, 3.0) << bad;
    }
    const size_t reported = s.messages().size();
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "0.1"));
    EXPECT_EQ(s.form().fadeTimeText.Text(), "0.10");
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "800"));
    EXPECT_EQ(s.form().fadeTimeText.Text(), "800.00");
    EXPECT_EQ(s.state().fadeList[0].time, 800.0);
    EXPECT_EQ(s.messages().size(), reported);
}

TEST(FadeTime, GermanResetUsesTheDecimalComma) {
    orva::StartOptions o;
    o.locale = platform::Locale::german();
    KavrelSession s(o);
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "2,5"));
    EXPECT_EQ(s.form().fadeTimeText.Text(), "2,50");
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "x"));
    EXPECT_EQ(s.form().fadeTimeText.Text(), "3,00");
    EXPECT_EQ(s.state().fadeTime, 3.0);
}

TEST(FadeType, ColorFadeShowsTheFadeColourOthersGreyItOut) {
    KavrelSession s;
    MatrixForm& f = s.form();
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "-50"));
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "ColorFade"));
    EXPECT_EQ(s.state().fadeType, 2);
    EXPECT_EQ(s.state().fadeList[0].type, 2);
    EXPECT_TRUE(f.MFadeColor.Enabled());
    EXPECT_TRUE(f.FadeColorText.Enabled());
    EXPECT_EQ(f.MFadeColor.BackColor(), platform::rgb(255, 0, 0));
    EXPECT_EQ(s.state().mixMap.get(3, 3, -1.0f), 0.25f);

    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "Scroll Up"));
    EXPECT_FALSE(f.MFadeColor.Enabled());
    EXPECT_FALSE(f.FadeColorText.Enabled());
    EXPECT_EQ(f.MFadeColor.BackColor(), platform::rgb(0, 0, 0));
}

TEST(FadeType, ColorFadeMixesThroughTheColourShownAtThatMoment) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "ColorFade"));
    s.form().MFadeColor.setBackColor(platform::rgb(0, 200, 0));
    s.k().mixMatrix(0.5);
    EXPECT_EQ(s.plugin().framePixel('M', 0, 0), platform::rgb(0, 200, 0));
    // One light alone mixes as the whole frame does.
    s.form().MFadeColor.setBackColor(platform::rgb(0, 0, 90));
    s.k().mixMatrixStep(0.5, 4, 2);
    EXPECT_EQ(s.plugin().framePixel('M', 4, 2), platform::rgb(0, 0, 90));
    EXPECT_EQ(s.plugin().framePixel('M', 5, 2), platform::rgb(0, 200, 0));
}

TEST(FadeList, SelectionShowsTheFadeAndNameEditsRenameIt) {
    KavrelSession s;
    MatrixForm& f = s.form();
    f.addX_Click();
    FadeRecord& second = s.state().fadeList[1];
    second.type = 1;
    second.time = 12.25;
    second.name = "dark";
    ASSERT_TRUE(s.driver.select("MatrixForm.efxXList", 2));
    EXPECT_EQ(s.state().curFade, 1);
    EXPECT_EQ(f.fadeType.ListIndex(), 1);
    EXPECT_EQ(s.state().fadeType, 1);
    EXPECT_EQ(f.fadeTimeText.Text(), "12.25");
    EXPECT_EQ(s.state().fadeTime, 12.25);
    EXPECT_EQ(f.fadeName.Text(), "dark");

    ASSERT_TRUE(s.driver.set("MatrixForm.fadeName", "darker"));
    EXPECT_EQ(s.state().fadeList[1].name, "darker");
    EXPECT_EQ(f.efxXList.Item(2).Text, "darker");
    EXPECT_EQ(f.efxXList.Item(1).Text, "new fade");
}

}  // namespace
}  // namespace kavrel::testing
