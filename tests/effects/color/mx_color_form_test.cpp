// The Color and Gradient editors on the real host: picking colours (OK and
// Cancel), the direction buttons, Enter as OK.
#include <gtest/gtest.h>

#include "effects/color/mx_color_form.h"
#include "effects/gradient/mx_gradient_form.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

class StillEditors : public ::testing::Test {
  protected:
    void open(const char* type, int cols = 5, int rows = 4) {
        s = std::make_unique<KavrelSession>(gridOptions(cols, rows));
        ASSERT_TRUE(s->driver.set("MatrixForm.typeA", type));
        ASSERT_TRUE(s->driver.click("MatrixForm.editA"));
    }
    void answerMixer(const char* blue, bool ok) {
        s->plugin().desktop().queueAction([this, blue, ok] {
            ASSERT_TRUE(s->driver.set("MxColorMixer.Sblue", blue));
            ASSERT_TRUE(s->driver.click(ok ? "MxColorMixer.BOK" : "MxColorMixer.Bcancel"));
        });
    }
    EffectRecord& entry() { return s->state().bankA.eff[0]; }
    uint32_t light(int x, int y) { return s->state().bankA.frame.rgb(x, y); }
    platform::Window& win(const char* name) { return *s->plugin().desktop().window(name); }

    std::unique_ptr<KavrelSession> s;
};

TEST_F(StillEditors, ColorPicksFillsAndCancelRewritesTheOldColour) {
    open("Color");
    auto& ed = static_cast<MxColorForm&>(win("MxColorForm"));
    ASSERT_TRUE(ed.Visible());
    EXPECT_EQ(ed.Caption(), "Color");
    EXPECT_EQ(ed.Color.BackColor(), platform::rgb(255, 0, 0));
    answerMixer("255", true);
    ASSERT_TRUE(s->driver.click("MxColorForm.Color"));
    EXPECT_EQ(entry().color1, platform::rgb(255, 0, 255));
    EXPECT_EQ(light(4, 3), platform::rgb(255, 0, 255));
    EXPECT_EQ(ed.Color.BackColor(), platform::rgb(255, 0, 255));

    s->state().bankA.frame.setRgb(0, 0, 1, 2, 3);
    answerMixer("0", false);
    ASSERT_TRUE(s->driver.click("MxColorForm.Color"));
    EXPECT_EQ(entry().color1, platform::rgb(255, 0, 255));
    EXPECT_EQ(light(0, 0), platform::rgb(255, 0, 255));  // redrawn all the same

    ASSERT_TRUE(s->driver.set("MxColorForm.myName", "pink"));
    ASSERT_TRUE(s->driver.key("MxColorForm.myName", 13));
    EXPECT_FALSE(ed.Visible());
    EXPECT_EQ(entry().name, "pink");
    EXPECT_TRUE(s->state().bankA.effOk[0]);
    EXPECT_EQ(s->form().efxAList.Item(1).Text, "pink");
}

TEST_F(StillEditors, GradientDirectionsAndColours) {
    open("Gradient");
    auto& ed = static_cast<MxGradientForm&>(win("MxGradientForm"));
    EXPECT_EQ(ed.Caption(), "Gradient");
    entry().color2 = platform::rgb(0, 0, 255);
    ASSERT_TRUE(s->driver.click("MxGradientForm.richtung(7)"));
    EXPECT_EQ(entry().direction, 7);
    EXPECT_EQ(ed.richtung[7].shownPicture(), "DownPicture");
    EXPECT_EQ(ed.richtung[1].shownPicture(), "DisabledPicture");
    EXPECT_EQ(light(0, 0), platform::rgb(255, 0, 0));
    EXPECT_EQ(light(4, 0), platform::rgb(0, 0, 255));

    ASSERT_TRUE(s->driver.click("MxGradientForm.richtung(0)"));  // the square does nothing
    EXPECT_EQ(entry().direction, 7);
    EXPECT_EQ(ed.richtung[7].shownPicture(), "DownPicture");
    EXPECT_EQ(ed.richtung[0].shownPicture(), "DisabledPicture");

    s->state().bankA.frame.setRgb(0, 0, 9, 9, 9);
    ASSERT_TRUE(s->driver.click("MxGradientForm.richtung(7)"));  // again: redrawn
    EXPECT_EQ(light(0, 0), platform::rgb(255, 0, 0));

    answerMixer("0", true);
    ASSERT_TRUE(s->driver.click("MxGradientForm.Color2"));  // sliders start at blue 255
    EXPECT_EQ(entry().color2, 0u);
    EXPECT_EQ(light(4, 0), 0u);
    ASSERT_TRUE(s->driver.click("MxGradientForm.richtung(9)"));
    EXPECT_EQ(entry().direction, 9);
    ASSERT_TRUE(s->driver.key("MxGradientForm.myName", 13));
    EXPECT_FALSE(ed.Visible());
    EXPECT_TRUE(s->state().bankA.effOk[0]);
}

TEST_F(StillEditors, CentreDirectionsNeedThreeColumnsAndRows) {
    open("Gradient", 2, 5);
    auto& ed = static_cast<MxGradientForm&>(win("MxGradientForm"));
    ASSERT_TRUE(s->driver.click("MxGradientForm.richtung(5)"));
    for (const char* b : {"MxGradientForm.richtung(9)", "MxGradientForm.richtung(10)"}) {
        ASSERT_TRUE(s->driver.click(b));
        EXPECT_EQ(entry().direction, 5);
        EXPECT_EQ(ed.richtung[5].shownPicture(), "DownPicture");
    }
}

}  // namespace
}  // namespace kavrel::testing
