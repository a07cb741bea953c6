// The Color Change editor on the real host: building the colour list through
// the mixer, editing times, moving rows, the fade and beat controls, OK, and
// an editor whose entry went away.
#include <gtest/gtest.h>

#include <string>

#include "effects/color_change/mx_color_change.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kGreen = platform::rgb(0, 255, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);

class ColorChangeEditor : public ::testing::Test {
  protected:
    void SetUp() override { openEditor(); }

    void openEditor(bool b = false) {
        ASSERT_TRUE(s.driver.set(b ? "MatrixForm.typeB" : "MatrixForm.typeA", "Color Change"));
        ASSERT_TRUE(s.driver.click(b ? "MatrixForm.editB" : "MatrixForm.editA"));
        ASSERT_TRUE(ed().Visible());
    }
    MxColorChange& ed() {
        return static_cast<MxColorChange&>(*s.plugin().desktop().window("MxColorChange"));
    }
    EffectRecord& entry() { return s.state().bankA.eff[0]; }
    BankState& bank() { return s.state().bankA; }
    platform::Timer& timerA1() { return s.form().timerA1; }
    platform::Timer& timerA2() { return s.form().timerA2; }

    // Adds a row through the mixer, closed with OK (or Cancel).
    void add(uint32_t color, bool ok = true) {
        s.plugin().desktop().queueAction([this, color, ok] {
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sred", std::to_string(color & 255)));
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sgreen", std::to_string((color >> 8) & 255)));
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sblue", std::to_string((color >> 16) & 255)));
            ASSERT_TRUE(s.driver.click(ok ? "MxColorMixer.BOK" : "MxColorMixer.Bcancel"));
        });
        ASSERT_TRUE(s.driver.click("MxColorChange.addColor"));
    }
    std::string time(int row) { return ed().ColorList.SubItem(row, 1); }

    KavrelSession s;
};

TEST_F(ColorChangeEditor, FillsFromTheEntryWithoutChangingIt) {
    ed().OK_Click();
    EffectRecord& e = entry();
    e.colorCount = 2;
    e.colors = {kRed, kGreen, 0};
    e.durations = {1.5, 2.0, 0.0};
    e.beat = 1;
    e.fadeMode = 3;
    e.speed = 70;
    e.level = 40;
    e.name = "two";
    s.plugin().desktop().setLocale(platform::Locale::german());
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(ed().myName.Text(), "two");
    ASSERT_EQ(ed().ColorList.Count(), 2);
    EXPECT_EQ(ed().ColorList.Item(1).Text, "||||||||||||");
    EXPECT_EQ(ed().ColorList.Item(2).ForeColor, kGreen);
    EXPECT_EQ(time(1), "1,5");
    EXPECT_EQ(ed().beatControl.Value(), 1);
    EXPECT_EQ(ed().cbFadeMode.ListIndex(), 3);  // the entry's own mode, beat or not
    EXPECT_EQ(ed().slSpeed.Value(), 70);
    EXPECT_EQ(ed().slFade.Value(), 40);
    EXPECT_EQ(e.fadeMode, 3);
    EXPECT_EQ(e.beat, 1);
    EXPECT_EQ(e.speed, 70);
    EXPECT_EQ(e.colors[0], kRed);
    EXPECT_EQ(ed().Caption(), "ColorChange");
    EXPECT_EQ(ed().ColorList.columns()[1].caption, "Time(s)");
    EXPECT_EQ(ed().cbFadeMode.List(8), "ScrollRight");
    EXPECT_EQ(ed().slFade.ToolTipText(), "10-1 sec");
    EXPECT_EQ(ed().slSpeed.ToolTipText(), "+/- 200%");
}

TEST_F(ColorChangeEditor, AddingAppendsRowsAndRunsTheEntryFromTwoColours) {
    ASSERT_TRUE(s.driver.set("MxColorChange.slSpeed", "50"));
    add(kRed);
    ASSERT_EQ(ed().ColorList.Count(), 1);
    EXPECT_EQ(ed().ColorList.Item(1).ForeColor, kRed);
    EXPECT_EQ(time(1), "3.00");
    EXPECT_FALSE(ed().ColorList.SelectedIndex());
    EXPECT_EQ(entry().colorCount, 1);
    EXPECT_FALSE(timerA1().Enabled());
    add(kBlue, false);  // Cancel adds nothing
    EXPECT_EQ(ed().ColorList.Count(), 1);
    s.plugin().desktop().setLocale(platform::Locale::german());
    add(kGreen);
    EXPECT_EQ(time(2), "3,00");
    EXPECT_EQ(entry().colorCount, 2);
    EXPECT_EQ(entry().colors, (std::vector<uint32_t>{kRed, kGreen, 0}));
    EXPECT_EQ(entry().durations, (std::vector<double>{3.0, 3.0, 0.0}));
    EXPECT_EQ(bank().colIdx, 0);
    EXPECT_EQ(entry().color1, kRed);
    EXPECT_TRUE(timerA1().Enabled());
    EXPECT_EQ(timerA1().Interval(), 3000);
}

TEST_F(ColorChangeEditor, TimesAreEditedSpunAndCheckedInPlace) {
    add(kRed);
    add(kGreen);
    ASSERT_TRUE(s.driver.select("MxColorChange.ColorList", 1, 1));
    EXPECT_TRUE(ed().ColorList.isEditing());
    EXPECT_EQ(ed().ColorList.EditText(), "3.00");
    ASSERT_TRUE(s.driver.spin("MxColorChange.ColorList", true));
    EXPECT_EQ(ed().ColorList.EditText(), "4");
    const std::pair<std::string, std::string> downs[] = {
        {"0", "0.01"}, {"-2", "0.01"}, {"0.5", "-0.5"}, {"abc", "abc"}};
    for (const auto& [from, to] : downs) {
        ed().ColorList.setEditText(from);
        ASSERT_TRUE(s.driver.spin("MxColorChange.ColorList", false));
        EXPECT_EQ(ed().ColorList.EditText(), to) << from;
    }
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 1, 1, "1.5"));
    EXPECT_EQ(entry().durations[0], 1.5);
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 1, 1, "soon"));
    EXPECT_EQ(time(1), "1.5");
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 2, 1, ""));
    EXPECT_EQ(time(2), "10");
    EXPECT_EQ(entry().durations[1], 10.0);
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 2, 0, "bars"));
    EXPECT_EQ(ed().ColorList.Item(2).Text, "||||||||||||");
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 1, 1, "1e10"));
    EXPECT_EQ(timerA1().Interval(), 2147483647);  // an enormous time runs, clamped
}

TEST_F(ColorChangeEditor, MovingAndRemovingRebuildTheEntry) {
    add(kRed);
    add(kGreen);
    add(kBlue);
    ASSERT_TRUE(s.driver.edit("MxColorChange.ColorList", 1, 1, "1"));
    ed().ColorList.Select(1);
    ASSERT_TRUE(s.driver.click("MxColorChange.downColor"));
    EXPECT_EQ(entry().colors, (std::vector<uint32_t>{kGreen, kRed, kBlue, 0}));
    EXPECT_EQ(entry().durations[1], 1.0);
    EXPECT_EQ(ed().ColorList.SelectedIndex(), 2);
    ASSERT_TRUE(s.driver.click("MxColorChange.upColor"));
    EXPECT_EQ(entry().colors, (std::vector<uint32_t>{kRed, kGreen, kBlue, 0}));
    ASSERT_TRUE(s.driver.click("MxColorChange.upColor"));  // the first row stays
    EXPECT_EQ(entry().colors[0], kRed);

    // Showing the last colour, then removing it: the index is brought back.
    ASSERT_TRUE(s.driver.select("MxColorChange.ColorList", 3, 0));
    EXPECT_EQ(bank().colIdx, 2);
    EXPECT_EQ(entry().color1, kBlue);
    ASSERT_TRUE(s.driver.click("MxColorChange.removeColor"));
    ASSERT_TRUE(s.driver.click("MxColorChange.removeColor"));  // nothing selected
    EXPECT_EQ(entry().colorCount, 2);
    EXPECT_EQ(entry().color1, 0u);  // index 2 is the spare now
    ASSERT_TRUE(s.driver.click("MxColorChange.removeColor"));
    s.form().timerA1_Timer();  // the step reads safely and wraps
    EXPECT_EQ(entry().color1, kRed);
    EXPECT_EQ(bank().colIdx, 0);
}

TEST_F(ColorChangeEditor, RowClicksAndRecolouringRunFromThatColour) {
    add(kRed);
    add(kGreen);
    ASSERT_TRUE(s.driver.select("MxColorChange.ColorList", 2, 0));
    EXPECT_EQ(entry().color1, kGreen);
    EXPECT_EQ(s.state().bankA.frame.rgb(0, 0), kGreen);
    EXPECT_EQ(bank().colIdx, 1);
    EXPECT_TRUE(timerA1().Enabled());
    ASSERT_TRUE(s.driver.select("MxColorChange.ColorList", 1, 0, 2));  // right button
    EXPECT_EQ(bank().colIdx, 1);

    s.plugin().desktop().queueAction([this] {
        ASSERT_TRUE(s.driver.set("MxColorMixer.Sblue", "200"));
        ASSERT_TRUE(s.driver.click("MxColorMixer.BOK"));
    });
    ASSERT_TRUE(s.driver.dblclickRow("MxColorChange.ColorList", 1, 0));
    const uint32_t recoloured = platform::rgb(255, 0, 200);
    EXPECT_EQ(entry().colors[0], recoloured);
    EXPECT_EQ(ed().ColorList.Item(1).ForeColor, recoloured);
    EXPECT_EQ(bank().colIdx, 0);

    s.plugin().desktop().queueAction(
        [this] { ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel")); });
    ASSERT_TRUE(s.driver.dblclickRow("MxColorChange.ColorList", 2, 0));
    EXPECT_EQ(entry().colors[1], kGreen);  // Cancel keeps the row
}

TEST_F(ColorChangeEditor, FadeModeWaitsForARunningTransitionAndBeatKeepsNone) {
    add(kRed);
    add(kGreen);
    ASSERT_TRUE(s.driver.set("MxColorChange.cbFadeMode", "ScrollDown"));
    EXPECT_EQ(entry().fadeMode, 6);
    s.form().timerA1_Timer();
    ASSERT_TRUE(bank().colorFadeRunning);
    ASSERT_TRUE(s.driver.set("MxColorChange.cbFadeMode", "Fade"));
    EXPECT_EQ(entry().fadeMode, 6);
    EXPECT_EQ(bank().pendingFade, 1);
    s.wait(20000);
    EXPECT_EQ(entry().fadeMode, 1);

    ASSERT_TRUE(s.driver.click("MxColorChange.beatControl"));
    EXPECT_EQ(ed().cbFadeMode.ListIndex(), 0);
    EXPECT_EQ(entry().fadeMode, 0);
    EXPECT_EQ(entry().beat, 1);
    EXPECT_TRUE(bank().beat);
    EXPECT_FALSE(bank().colorFadeRunning);
    EXPECT_FALSE(timerA1().Enabled());
    EXPECT_FALSE(timerA2().Enabled());
    EXPECT_EQ(timerA2().Interval(), 50);
    ASSERT_TRUE(s.driver.set("MxColorChange.cbFadeMode", "Random"));
    EXPECT_EQ(ed().cbFadeMode.ListIndex(), 0);
    EXPECT_EQ(entry().fadeMode, 0);

    ASSERT_TRUE(s.driver.click("MxColorChange.beatControl"));
    EXPECT_EQ(entry().beat, 0);
    EXPECT_FALSE(bank().beat);
    EXPECT_TRUE(timerA1().Enabled());
}

TEST_F(ColorChangeEditor, SpeedRetimesWithoutRestarting) {
    ASSERT_TRUE(s.driver.set("MxColorChange.slSpeed", "100"));  // no colour yet
    EXPECT_EQ(entry().speed, 100);
    add(kRed);
    add(kGreen);
    EXPECT_EQ(timerA1().Interval(), 1000);
    timerA1().setEnabled(false);
    ASSERT_TRUE(s.driver.set("MxColorChange.slSpeed", "0"));
    EXPECT_EQ(timerA1().Interval(), 9000);
    EXPECT_FALSE(timerA1().Enabled());
    ASSERT_TRUE(s.driver.set("MxColorChange.slFade", "77"));
    EXPECT_EQ(entry().level, 77);
}

TEST_F(ColorChangeEditor, OkConfirmsAndSetsTheColoursAroundTheCurrentOne) {
    ASSERT_TRUE(s.driver.set("MxColorChange.myName", "none"));
    ASSERT_TRUE(s.driver.click("MxColorChange.OK"));
    EXPECT_FALSE(s.state().bankA.effOk[0]);  // no colours: not configured
    EXPECT_EQ(s.form().efxAList.Item(1).Text, "none");

    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    add(kRed);
    timerA1().setEnabled(false);
    ASSERT_TRUE(s.driver.set("MxColorChange.myName", "one"));
    ASSERT_TRUE(s.driver.key("MxColorChange.myName", 13));  // Enter is OK
    EXPECT_FALSE(ed().Visible());
    EXPECT_TRUE(s.state().bankA.effOk[0]);
    EXPECT_EQ(entry().name, "one");
    EXPECT_FALSE(timerA1().Enabled());

    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    add(kGreen);
    add(kBlue);
    add(kRed);
    bank().colIdx = 2;
    ASSERT_TRUE(s.driver.click("MxColorChange.OK"));
    EXPECT_EQ(entry().color1, kBlue);
    EXPECT_EQ(entry().color2, kGreen);
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    bank().colIdx = 0;
    ASSERT_TRUE(s.driver.click("MxColorChange.OK"));
    EXPECT_EQ(entry().color2, kRed);  // the last of red, green, blue, red
    EXPECT_TRUE(timerA1().Enabled());
}

TEST_F(ColorChangeEditor, StaysWithItsEntry) {
    add(kRed);
    ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_FALSE(ed().Visible());
    EffectRecord& other = s.state().bankA.eff[1];
    const uint32_t before = other.color1;
    ed().OK_Click();
    ed().updateColorList();
    EXPECT_EQ(other.name, "new effect");
    EXPECT_EQ(other.colorCount, 0);
    EXPECT_EQ(other.color1, before);
    EXPECT_EQ(entry().colorCount, 1);  // what it wrote stays
    EXPECT_EQ(s.form().efxAList.Item(2).Text, "new effect");

    // Closeall hides it.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    ASSERT_TRUE(ed().Visible());
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(ed().Visible());
}

TEST_F(ColorChangeEditor, EditsBankBOnItsOwnTimers) {
    ed().OK_Click();
    openEditor(true);
    add(kRed);
    add(kBlue);
    EXPECT_EQ(s.state().bankB.eff[0].colorCount, 2);
    EXPECT_EQ(entry().colorCount, 0);
    EXPECT_TRUE(s.form().timerB1.Enabled());
    EXPECT_FALSE(timerA1().Enabled());
}

}  // namespace
}  // namespace kavrel::testing
