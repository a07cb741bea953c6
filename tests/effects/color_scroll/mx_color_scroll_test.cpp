// The Color Scroll editor on the real host: the colour list with its widths,
// the blend and beat boxes, the direction buttons, the speed, OK, and an
// editor whose entry went away.
#include <gtest/gtest.h>

#include <string>

#include "core/bank_context.h"
#include "effects/color_scroll/mx_color_scroll.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kGreen = platform::rgb(0, 255, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);

class ColorScrollEditor : public ::testing::Test {
  protected:
    void SetUp() override { open(false); }

    void open(bool b) {
        ASSERT_TRUE(s.driver.set(b ? "MatrixForm.typeB" : "MatrixForm.typeA", "Color Scroll"));
        ASSERT_TRUE(s.driver.click(b ? "MatrixForm.editB" : "MatrixForm.editA"));
        ASSERT_TRUE(ed().Visible());
    }
    MxColorScroll& ed() {
        return static_cast<MxColorScroll&>(*s.plugin().desktop().window("MxColorScroll"));
    }
    EffectRecord& entry() { return s.state().bankA.eff[0]; }
    BankState& bank() { return s.state().bankA; }
    platform::Timer& timerA1() { return s.form().timerA1; }

    // Adds a row through the mixer, closed with OK (or Cancel).
    void add(uint32_t color, bool ok = true) {
        s.plugin().desktop().queueAction([this, color, ok] {
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sred", std::to_string(color & 255)));
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sgreen", std::to_string((color >> 8) & 255)));
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sblue", std::to_string((color >> 16) & 255)));
            ASSERT_TRUE(s.driver.click(ok ? "MxColorMixer.BOK" : "MxColorMixer.Bcancel"));
        });
        ASSERT_TRUE(s.driver.click("MxColorScroll.addColor"));
    }
    std::string width(int row) { return ed().ColorList.SubItem(row, 1); }
    std::string picture(int i) {
        return s.prop("MxColorScroll.richtung(" + std::to_string(i) + ").ShownPicture");
    }

    KavrelSession s;
};

TEST_F(ColorScrollEditor, FillsFromTheEntryChangingOnlyASpeedOfZero) {
    ed().OK_Click();
    EffectRecord& e = entry();
    e.colorCount = 2;
    e.colors = {kRed, kGreen, 0};
    e.colorValues = {3, 0, 0};
    e.beat = 1;
    e.blend = 1;
    e.speed = 0;
    e.direction = 11;
    e.name = "bands";
    bank().stripLen = 7;  // no strip is built by the fill
    bank().step = 4;
    timerA1().setInterval(1234);
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(e.speed, 50);
    EXPECT_EQ(ed().slSpeed.Value(), 50);
    EXPECT_EQ(e.beat, 1);
    EXPECT_EQ(e.blend, 1);
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{3, 0, 0}));
    EXPECT_EQ(bank().stripLen, 7);
    EXPECT_EQ(bank().step, 4);
    EXPECT_EQ(timerA1().Interval(), 1234);
    EXPECT_EQ(ed().myName.Text(), "bands");
    ASSERT_EQ(ed().ColorList.Count(), 2);
    EXPECT_EQ(ed().ColorList.Item(1).Text, "||||||||||||");
    EXPECT_EQ(ed().ColorList.Item(2).ForeColor, kGreen);
    EXPECT_EQ(width(1), "3");
    EXPECT_EQ(ed().beatControl.Value(), 1);
    EXPECT_EQ(ed().fadeMode.Value(), 1);
    EXPECT_EQ(picture(11), "DownPicture");
    EXPECT_EQ(picture(0), "DisabledPicture");
    EXPECT_EQ(ed().Caption(), "ColorScroll");
    EXPECT_EQ(ed().ColorList.columns()[1].caption, "Width");
    EXPECT_EQ(ed().slSpeed.ToolTipText(), "10s - 0,2s");
}

TEST_F(ColorScrollEditor, AddingBuildsTheStripAndStartsTheScroll) {
    add(kRed);
    add(kGreen, false);  // Cancel adds nothing
    EXPECT_EQ(ed().ColorList.Count(), 1);
    EXPECT_EQ(entry().colorCount, 1);
    EXPECT_FALSE(timerA1().Enabled()) << "one colour does not run";
    add(kBlue);
    EffectRecord& e = entry();
    EXPECT_EQ(width(2), "1");
    EXPECT_EQ(e.colors, (std::vector<uint32_t>{kRed, kBlue, 0}));
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{1, 1, 0}));
    EXPECT_EQ(bank().stripLen, 2);
    EXPECT_EQ(bank().colIdx, 0);
    EXPECT_TRUE(timerA1().Enabled());
    EXPECT_EQ(timerA1().Interval(), 2010);

    ASSERT_TRUE(s.driver.click("MxColorScroll.richtung(5)"));
    EXPECT_EQ(e.direction, 5);
    EXPECT_EQ(picture(5), "DownPicture");
    EXPECT_EQ(picture(11), "DisabledPicture");
    ASSERT_TRUE(s.driver.set("MxColorScroll.slSpeed", "100"));
    EXPECT_EQ(timerA1().Interval(), 10);
    EXPECT_EQ(e.speed, 100);
    s.wait(2200);  // the tick already due comes first
    // Red and blue bands of one row each move down from the top.
    const uint32_t top = s.plugin().framePixel('A', 6, 0).value_or(1);
    EXPECT_TRUE(top == kRed || top == kBlue);
    EXPECT_EQ(s.plugin().framePixel('A', 6, 1), top == kRed ? kBlue : kRed);
    EXPECT_EQ(s.plugin().framePixel('A', 0, 2), top);
}

TEST_F(ColorScrollEditor, WidthsAreEditedInPlaceAndSpun) {
    add(kRed);
    add(kBlue);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 1, 1, "2.5"));
    EXPECT_EQ(entry().colorValues[0], 2) << "halves round to even";
    EXPECT_EQ(bank().stripLen, 3);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 1, 1, "wide"));
    EXPECT_EQ(width(1), "2.5") << "letters keep the width";
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 2, 1, ""));
    EXPECT_EQ(width(2), "10");
    EXPECT_EQ(bank().stripLen, 12);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 2, 0, "bars"));
    EXPECT_EQ(ed().ColorList.Item(2).Text, "||||||||||||");
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 2, 1, "1e30"));
    EXPECT_EQ(entry().colorValues[1], INT32_MAX) << "kept within 32 bits";
    EXPECT_EQ(bank().stripLen, 32767) << "the strip is capped";

    ASSERT_TRUE(s.driver.select("MxColorScroll.ColorList", 1, 1));
    ASSERT_TRUE(ed().ColorList.isEditing());
    ed().ColorList.setEditText("1");
    ASSERT_TRUE(s.driver.spin("MxColorScroll.ColorList", false));
    EXPECT_EQ(ed().ColorList.EditText(), "0");
    ASSERT_TRUE(s.driver.spin("MxColorScroll.ColorList", false));
    EXPECT_EQ(ed().ColorList.EditText(), "1") << "below 1 it jumps back to 1";
    ed().ColorList.setEditText("1.5");
    ASSERT_TRUE(s.driver.spin("MxColorScroll.ColorList", false));
    EXPECT_EQ(ed().ColorList.EditText(), "0.5");
    ASSERT_TRUE(s.driver.spin("MxColorScroll.ColorList", true));
    EXPECT_EQ(ed().ColorList.EditText(), "1.5");
    ed().ColorList.setEditText("x");
    ASSERT_TRUE(s.driver.spin("MxColorScroll.ColorList", true));
    EXPECT_EQ(ed().ColorList.EditText(), "x");
    EXPECT_EQ(entry().colorValues[0], 2) << "spinning alone writes nothing";
}

TEST_F(ColorScrollEditor, MovingRemovingAndRecolouringRows) {
    add(kRed);
    add(kGreen);
    add(kBlue);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 1, 1, "4"));
    EffectRecord& e = entry();
    ASSERT_TRUE(s.driver.select("MxColorScroll.ColorList", 1, 1));
    e.colors[0] = 77;                                      // the list is the master copy
    ASSERT_TRUE(s.driver.click("MxColorScroll.upColor"));  // the first row stays
    EXPECT_EQ(e.colors[0], kRed);
    ASSERT_TRUE(s.driver.click("MxColorScroll.downColor"));
    EXPECT_EQ(e.colors, (std::vector<uint32_t>{kGreen, kRed, kBlue, 0}));
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{1, 4, 1, 0}));
    EXPECT_EQ(ed().ColorList.SelectedIndex(), 2) << "the selection moves with the colour";

    // A plain click on a row rewrites the entry and leaves no row selected.
    ASSERT_TRUE(s.driver.select("MxColorScroll.ColorList", 3, 0));
    EXPECT_FALSE(ed().ColorList.SelectedIndex());
    ASSERT_TRUE(s.driver.click("MxColorScroll.removeColor"));
    EXPECT_EQ(e.colorCount, 3);

    // Recolouring row 3 continues the strip from position 2; Cancel keeps it.
    s.plugin().desktop().queueAction([this] {
        ASSERT_TRUE(s.driver.set("MxColorMixer.Sred", "200"));
        ASSERT_TRUE(s.driver.click("MxColorMixer.BOK"));
    });
    ASSERT_TRUE(s.driver.dblclickRow("MxColorScroll.ColorList", 3, 0));
    EXPECT_EQ(e.colors[2], platform::rgb(200, 0, 255));
    EXPECT_EQ(bank().colIdx, 2);
    s.plugin().desktop().queueAction(
        [this] { ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel")); });
    ASSERT_TRUE(s.driver.dblclickRow("MxColorScroll.ColorList", 1, 0));
    EXPECT_EQ(e.colors[0], kGreen);

    ASSERT_TRUE(s.driver.select("MxColorScroll.ColorList", 1, 1));
    ASSERT_TRUE(s.driver.click("MxColorScroll.removeColor"));
    ASSERT_TRUE(s.driver.select("MxColorScroll.ColorList", 1, 1));
    ASSERT_TRUE(s.driver.click("MxColorScroll.removeColor"));
    EXPECT_EQ(e.colorCount, 1);
    EXPECT_FALSE(timerA1().Enabled()) << "one colour left stops the scroll";
    ASSERT_TRUE(s.driver.set("MxColorScroll.myName", "single"));
    ASSERT_TRUE(s.driver.key("MxColorScroll.myName", 13));  // Enter is OK
    EXPECT_FALSE(ed().Visible());
    EXPECT_TRUE(bank().effOk[0]) << "one colour counts as configured";
    EXPECT_EQ(e.name, "single");
    EXPECT_EQ(s.form().efxAList.Item(1).Text, "single");
}

TEST_F(ColorScrollEditor, BlendBeatAndOk) {
    add(kRed);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 1, 1, "2"));
    add(kBlue);
    ASSERT_TRUE(s.driver.edit("MxColorScroll.ColorList", 2, 1, "3"));
    ASSERT_TRUE(s.driver.click("MxColorScroll.fadeMode"));
    EXPECT_EQ(entry().blend, 1);
    ASSERT_GE(bank().strip.size(), 20u);
    EXPECT_EQ(bank().strip[0], 128) << "the first band ramps in from the last colour";
    EXPECT_EQ(bank().strip[8], 170);

    ASSERT_TRUE(s.driver.click("MxColorScroll.beatControl"));
    EXPECT_EQ(entry().beat, 1);
    EXPECT_TRUE(bank().beat);
    EXPECT_FALSE(timerA1().Enabled());
    EXPECT_EQ(s.form().timerA2.Interval(), 50);
    ASSERT_TRUE(s.driver.click("MxColorScroll.OK"));
    EXPECT_FALSE(timerA1().Enabled()) << "under beat control OK starts nothing";
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    ASSERT_TRUE(s.driver.click("MxColorScroll.beatControl"));
    EXPECT_FALSE(bank().beat);
    EXPECT_EQ(entry().beat, 0);
    EXPECT_TRUE(timerA1().Enabled());

    // OK with the timer running does not rebuild the strip; stopped, it does.
    bank().stripLen = 1;
    ASSERT_TRUE(s.driver.click("MxColorScroll.OK"));
    EXPECT_EQ(bank().stripLen, 1);
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    timerA1().setEnabled(false);
    ASSERT_TRUE(s.driver.click("MxColorScroll.OK"));
    EXPECT_EQ(bank().stripLen, 5);
    EXPECT_TRUE(timerA1().Enabled());
    EXPECT_TRUE(bank().effOk[0]);
}

TEST_F(ColorScrollEditor, DirectionZeroAndTheDiagonalFront) {
    add(kRed);
    add(kBlue);
    bank().step = 6;
    ASSERT_TRUE(s.driver.click("MxColorScroll.richtung(2)"));
    EXPECT_EQ(bank().step, 0);
    ASSERT_TRUE(s.driver.click("MxColorScroll.richtung(0)"));
    EXPECT_EQ(entry().direction, 0);
    EXPECT_EQ(picture(0), "DownPicture");
    EXPECT_EQ(picture(2), "DisabledPicture");
}

TEST_F(ColorScrollEditor, StaysWithItsEntryAndCloseallHidesIt) {
    add(kRed);
    add(kBlue);
    ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_FALSE(ed().Visible()) << "its entry is no longer current";
    EffectRecord& other = bank().eff[1];
    ed().updateColorList2();
    ed().OK_Click();
    EXPECT_EQ(other.colorCount, 0);
    EXPECT_EQ(other.name, "new effect");
    EXPECT_EQ(s.form().efxAList.Item(2).Text, "new effect");
    EXPECT_EQ(entry().colorCount, 2) << "what it wrote stays";

    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    ASSERT_TRUE(ed().Visible());
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(ed().Visible());
}

TEST_F(ColorScrollEditor, BankBIsEditedOnItsOwnNames) {
    ed().OK_Click();
    open(true);
    add(kGreen);
    add(kRed);
    BankState& b = s.state().bankB;
    EXPECT_EQ(b.eff[0].colorCount, 2);
    EXPECT_EQ(b.stripLen, 2);
    EXPECT_TRUE(s.form().timerB1.Enabled());
    EXPECT_EQ(entry().colorCount, 0) << "bank A's entry is not touched";
    ASSERT_TRUE(s.driver.set("MxColorScroll.myName", "bee"));
    ASSERT_TRUE(s.driver.click("MxColorScroll.OK"));
    EXPECT_EQ(s.form().efxBList.Item(1).Text, "bee");
    EXPECT_EQ(b.eff[0].name, "bee");
}

}  // namespace
}  // namespace kavrel::testing
