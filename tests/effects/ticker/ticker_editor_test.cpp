// The Ticker on the real host: selecting an entry, its timer and beats, and
// the editor's handlers.
#include <gtest/gtest.h>

#include <string>

#include "core/color_mixer.h"
#include "effects/ticker/mx_ticker_form.h"
#include "platform/windows/desktop.h"
#include "tests/core/kavrel_session.h"

namespace kavrel {
namespace {

using testing::KavrelSession;

constexpr uint32_t kWhite = platform::rgb(255, 255, 255);
constexpr uint32_t kBlack = platform::rgb(0, 0, 0);

struct TickerSession {
    TickerSession() {
        EffectRecord& e = s.state().bankA.eff[0];
        e.type = static_cast<int16_t>(EffectType::Ticker);
        e.color1 = kWhite;
        e.color2 = kBlack;
        e.direction = 3;
        e.speed = 75;
        e.level = 0;
        e.text = "AB";
        e.font = "5-point";
        EXPECT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    }
    EffectRecord& entry() { return s.state().bankA.eff[0]; }
    BankState& bank() { return s.state().bankA; }
    MxTickerForm& editor() {
        return *dynamic_cast<MxTickerForm*>(s.plugin().desktop().window("MxTickerForm"));
    }
    void openEditor() { ASSERT_TRUE(s.driver.click("MatrixForm.editA")); }
    KavrelSession s;
};

TEST(TickerOnHost, SelectingRunsTheTickerOnItsTimer) {
    TickerSession t;
    EXPECT_EQ(t.s.form().timerA1.Interval(), 260);
    EXPECT_TRUE(t.s.form().timerA1.Enabled());
    EXPECT_EQ(t.bank().stepMax, 10);
    EXPECT_EQ(t.bank().step, 1);  // the build showed line 0
    // "A" row 0 is .##. : line 0 has its top light dark.
    EXPECT_EQ(t.s.plugin().framePixel('A', 11, 0), 0u);
    t.s.wait(260 * 2);
    EXPECT_EQ(t.bank().step, 3);
    EXPECT_EQ(t.bank().frame.rgb(10, 0), kWhite);  // line 1 has moved one left
    EXPECT_EQ(t.bank().frame.rgb(11, 0), kWhite);  // line 2 entered
}

TEST(TickerOnHost, AStartAfterASlowEntryStepsWithinItsOwnInterval) {
    TickerSession t;
    ASSERT_TRUE(t.s.driver.click("MatrixForm.addA"));
    ASSERT_TRUE(t.s.driver.select("MatrixForm.efxAList", 2));
    ASSERT_TRUE(t.s.driver.set("MatrixForm.typeA", "Fire"));
    auto runSlowFire = [&t] {
        t.bank().eff[1].speed = 0;
        ASSERT_TRUE(t.s.driver.select("MatrixForm.efxAList", 2));
        ASSERT_EQ(t.s.form().timerA1.Interval(), 4010);
        ASSERT_TRUE(t.s.form().timerA1.Enabled());
    };
    const auto firstTimedStep = [&t](const char* how) {
        SCOPED_TRACE(how);
        EXPECT_EQ(t.s.form().timerA1.Interval(), 260);
        EXPECT_EQ(t.bank().step, 1);
        t.s.wait(260);
        EXPECT_EQ(t.bank().step, 2);
    };

    runSlowFire();
    ASSERT_TRUE(t.s.driver.select("MatrixForm.efxAList", 1));
    firstTimedStep("chosen in the list");

    runSlowFire();
    ASSERT_TRUE(t.s.driver.set("MatrixForm.typeA", "Ticker"));
    firstTimedStep("chosen in the type box");
}

TEST(TickerOnHost, EditorFillsWithoutTouchingTheEntry) {
    TickerSession t;
    t.entry().level = 37;
    t.entry().letterMode = 1;
    t.entry().direction = 1;
    t.entry().beat = 0;
    t.entry().font = "Nowhere:9:0:0:0:0";
    const int16_t step = t.bank().step;
    t.openEditor();
    MxTickerForm& f = t.editor();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(t.entry().level, 37);
    EXPECT_EQ(t.entry().font, "Nowhere:9:0:0:0:0");
    EXPECT_EQ(t.bank().step, step) << "filling rebuilt the ticker";
    EXPECT_EQ(f.slOffset.Value(), 37);
    EXPECT_EQ(f.Letter.Value(), 1);
    EXPECT_EQ(f.myFont.Text(), "Nowhere:9:0:0:0:0");
    EXPECT_EQ(f.myFont.List(0), "5-point");
    EXPECT_EQ(f.myFont.List(1), "WindowsFont");
    EXPECT_TRUE(f.myFontBox.Enabled());
    EXPECT_EQ(f.richtung[1].shownPicture(), "DownPicture");
    EXPECT_EQ(f.richtung[3].shownPicture(), "DisabledPicture");
}

TEST(TickerOnHost, EditorHandlersWriteTheEntry) {
    TickerSession t;
    t.openEditor();
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myTicker", ""));
    EXPECT_EQ(t.entry().text, "-");
    EXPECT_EQ(t.editor().myTicker.Text(), "-");

    ASSERT_TRUE(t.s.driver.set("MxTickerForm.slSpeed", "0"));
    EXPECT_EQ(t.s.form().timerA1.Interval(), 4010);
    EXPECT_TRUE(t.s.form().timerA1.Enabled());
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.slSpeed", "100"));
    EXPECT_EQ(t.s.form().timerA1.Interval(), 10);
    EXPECT_EQ(t.entry().speed, 100);

    ASSERT_TRUE(t.s.driver.set("MxTickerForm.slOffset", "60"));
    EXPECT_EQ(t.entry().level, 60);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.richtung(5)"));
    EXPECT_EQ(t.entry().direction, 5);
    EXPECT_EQ(t.entry().level, 0);

    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Backward"));
    EXPECT_EQ(t.entry().backward, 1);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Mirror"));
    EXPECT_EQ(t.entry().mirror, 1);

    ASSERT_TRUE(t.s.driver.set("MxTickerForm.slOffset", "40"));
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Letter"));
    EXPECT_EQ(t.entry().letterMode, 1);
    EXPECT_EQ(t.entry().direction, 1);
    EXPECT_EQ(t.entry().level, 0);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.richtung(3)"));
    EXPECT_EQ(t.entry().direction, 1) << "letter mode keeps the direction";
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Letter"));
    EXPECT_EQ(t.entry().letterMode, 0);
}

TEST(TickerOnHost, BeatControlStepsOncePerLockout) {
    TickerSession t;
    t.openEditor();
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Beat"));
    EXPECT_EQ(t.entry().beat, 1);
    EXPECT_TRUE(t.bank().beat);
    EXPECT_FALSE(t.s.form().timerA1.Enabled());
    EXPECT_EQ(t.s.form().timerA2.Interval(), 50);
    const int16_t step = t.bank().step;
    t.s.k().runBeat();
    EXPECT_EQ(t.bank().step, step + 1);
    t.s.k().runBeat();  // within the lock-out
    EXPECT_EQ(t.bank().step, step + 1);
    t.s.wait(60);
    t.s.k().runBeat();
    EXPECT_EQ(t.bank().step, step + 2);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Beat"));
    EXPECT_FALSE(t.bank().beat);
    EXPECT_TRUE(t.s.form().timerA1.Enabled());
}

TEST(TickerOnHost, FontDialogStoresADescriptorAndCancelKeepsTheFont) {
    TickerSession t;
    t.openEditor();
    MxTickerForm& f = t.editor();
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myFont", "WindowsFont"));
    EXPECT_TRUE(f.myFontBox.Enabled());
    EXPECT_EQ(t.entry().font, "5-point");

    t.s.driver.answerFont("DejaVu Sans", 10.5, true);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.myFontBox"));
    EXPECT_EQ(f.CDFont.Flags(), 0x20103);
    EXPECT_EQ(t.entry().font, "DejaVu Sans:10:0:1:0:0");
    EXPECT_EQ(f.myFont.List(0), "DejaVu Sans:10:0:1:0:0");
    EXPECT_EQ(f.myFont.ListIndex(), 0);
    EXPECT_EQ(t.bank().fontSize, 10);
    EXPECT_EQ(t.bank().fontBold, 1);
    EXPECT_EQ(t.bank().tickerBuf.rows(), 10);

    t.s.driver.answerFont("DejaVu Sans", 11.5, false, false, true, true);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.myFontBox"));
    EXPECT_EQ(t.entry().font, "DejaVu Sans:12:0:0:1:1");
    EXPECT_EQ(t.bank().fontStrike, 1);

    t.s.driver.answerCancel();
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.myFontBox"));
    EXPECT_EQ(t.entry().font, "DejaVu Sans:12:0:0:1:1");
    EXPECT_EQ(t.bank().fontSize, 12);

    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myFont", "WindowsFont"));
    EXPECT_EQ(t.bank().fontSize, 12) << "WindowsFont leaves the font alone";
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myFont", "5-point"));
    EXPECT_FALSE(f.myFontBox.Enabled());
    EXPECT_EQ(t.entry().font, "5-point");
    EXPECT_EQ(t.bank().tickerBuf.rows(), 5);
}

TEST(TickerOnHost, TooSmallFontShowsTheMessageAndTheBackground) {
    TickerSession t;
    t.openEditor();
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myFont", "WindowsFont"));
    t.s.driver.answerFont("DejaVu Sans", 6);
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.myFontBox"));
    ASSERT_FALSE(t.s.messages().empty());
    EXPECT_EQ(t.s.messages().back(), "FontSize too small !!!");
    EXPECT_EQ(t.bank().stepMax, 0);
    t.s.wait(2000);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(t.bank().frame.rgb(x, y), kBlack);
}

TEST(TickerOnHost, ColourPickersGoThroughTheMixer) {
    TickerSession t;
    t.openEditor();
    platform::Desktop& d = t.s.plugin().desktop();
    d.queueAction([&t] {
        EXPECT_EQ(t.s.state().mixerOldColor, kBlack);
        t.s.driver.set("MxColorMixer.Sblue", "200");
        t.s.driver.click("MxColorMixer.BOK");
    });
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Color2"));
    EXPECT_EQ(t.entry().color2, platform::rgb(0, 0, 200));
    EXPECT_EQ(t.bank().frame.rgb(0, 11), platform::rgb(0, 0, 200));
    d.queueAction([&t] { t.s.driver.click("MxColorMixer.Bcancel"); });
    ASSERT_TRUE(t.s.driver.click("MxTickerForm.Color1"));
    EXPECT_EQ(t.entry().color1, kWhite);
}

TEST(TickerOnHost, EnterConfirmsAndTheEditorStaysWithItsEntry) {
    TickerSession t;
    t.openEditor();
    ASSERT_TRUE(t.s.driver.set("MxTickerForm.myName", "Hello"));
    ASSERT_TRUE(t.s.driver.key("MxTickerForm.myName", 13));
    EXPECT_FALSE(t.editor().Visible());
    EXPECT_EQ(t.entry().name, "Hello");
    EXPECT_EQ(t.s.form().efxAList.Item(1).Text, "Hello");
    EXPECT_TRUE(t.bank().effOk[0]);

    // Another entry becomes current while the editor is open: it hides and
    // writes nothing into the new one.
    t.openEditor();
    ASSERT_TRUE(t.s.driver.click("MatrixForm.addA"));
    ASSERT_TRUE(t.s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_FALSE(t.editor().Visible());  // hidden at once
    t.editor().Show(false);              // even shown again by force...
    const int16_t level = t.bank().eff[1].level;
    t.editor().slOffset.setValue(77);
    EXPECT_FALSE(t.editor().Visible());
    EXPECT_EQ(t.bank().eff[1].level, level);
    EXPECT_EQ(t.entry().level, 0);
    t.editor().OK_Click();
    EXPECT_EQ(t.bank().eff[1].name, "new effect");
}

}  // namespace
}  // namespace kavrel
