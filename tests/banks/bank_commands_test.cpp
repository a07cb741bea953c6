// The type box, moving up, removing, pasting and the fade colour.
#include <gtest/gtest.h>

#include <string>

#include "tests/core/kavrel_session.h"
#include "tests/support/scripted_effect.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kYellow = platform::rgb(255, 255, 0);

EffectRecord& current(KavrelSession& s, BankId id) {
    return *s.form().bank(id).entry();
}

TEST(TypeBox, DefaultsOnlyWhenTheTypeChanges) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Gradient"));
    EffectRecord& a = current(s, BankId::A);
    EXPECT_EQ(a.color1, kRed);
    EXPECT_EQ(a.color2, kYellow);
    EXPECT_EQ(a.direction, 7);
    a.color2 = 5;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color"));
    a.color1 = 9;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color"));  // chosen again: nothing reset
    EXPECT_EQ(a.color1, 9u);
    EXPECT_EQ(a.color2, 5u);
    EXPECT_EQ(a.direction, 7);
    EXPECT_EQ(s.plugin().framePixel('A', 3, 3), 9u);

    ASSERT_TRUE(s.driver.set("MatrixForm.typeB", "Gradient"));
    ASSERT_TRUE(s.driver.set("MatrixForm.typeB", "Color"));
    EXPECT_EQ(current(s, BankId::B).color1, platform::rgb(0, 0, 255)) << "bank B's Color is blue";
    EXPECT_EQ(s.state().editBankB, 1);
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    EXPECT_EQ(s.state().editBankB, 0);
    EXPECT_EQ(a.color1, kYellow);
    EXPECT_EQ(a.color2, kRed);
    EXPECT_EQ(a.speed, 80);
    EXPECT_EQ(a.level, 30);
    a.speed = 20;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    EXPECT_EQ(a.speed, 20);
}

TEST(TypeBox, TickerBeamShowFluidAndTheCountedTypes) {
    KavrelSession s;
    EffectRecord& a = current(s, BankId::A);
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Ticker"));
    a.backward = a.mirror = a.letterMode = 1;
    a.text = "x";
    a.font = "Arial:12:0:0:0:0";
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Ticker"));
    EXPECT_EQ(a.backward + a.mirror + a.letterMode + a.beat, 0);
    EXPECT_EQ(a.font, "5-point");
    EXPECT_EQ(a.text, "Kavrel - ");
    EXPECT_EQ(a.direction, 3);
    EXPECT_EQ(a.speed, 75);
    EXPECT_EQ(a.level, 30) << "a Ticker keeps the level it had";
    EXPECT_EQ(a.color1, platform::rgb(255, 255, 255));
    EXPECT_EQ(a.color2, 0u);

    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "BeamShow"));
    EXPECT_EQ(a.colors, (std::vector<uint32_t>{platform::rgb(0, 255, 0), kRed,
                                               platform::rgb(0, 0, 255), kYellow, 0}));
    EXPECT_EQ(a.colorValues, (std::vector<int32_t>{0, -1, -1, -1, 0}));
    EXPECT_EQ(a.color1, 0u);
    EXPECT_EQ(a.speed, 50);
    EXPECT_EQ(a.level, 100);

    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fluid"));
    EXPECT_EQ(a.color1, platform::rgb(0, 0, 255));
    EXPECT_EQ(a.direction, 5);
    EXPECT_EQ(a.speed, 80);
    EXPECT_EQ(a.level, 40);

    a.colors = {1, 2};
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color Change"));
    EXPECT_EQ(a.colorCount, 0);
    EXPECT_EQ(a.colors, (std::vector<uint32_t>{1, 2})) << "the arrays stay behind the count";
    EXPECT_EQ(a.level, 50);
    const size_t shown = s.messages().size();
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color Scroll"));
    EXPECT_EQ(s.messages().at(shown), "ColorScroll not configured ! Please edit effect !");
    EXPECT_EQ(a.type, 5);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Image"));
    EXPECT_EQ(s.messages().back(), "No Pictures in List. Please edit preset");
    EXPECT_EQ(a.speed, 50);
    EXPECT_EQ(a.level, 0);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    EXPECT_FALSE(s.form().timerA2.Enabled());
    EXPECT_EQ(s.plugin().framePixel('A', 0, 0), 0u);
}

TEST(TypeBox, PaintTakesThePictureTheBankShowedAndNothingChosenChangesNothing) {
    KavrelSession s;  // bank A shows its red entry
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Paint"));
    const EffectRecord& a = current(s, BankId::A);
    EXPECT_EQ(a.pixels.get(11, 11, 7u), kRed);
    EXPECT_EQ(a.pixels.get(0, 0, 7u), kRed);
    EXPECT_EQ(a.pixels.get(12, 3, 7u), 0u) << "the spare column";
    EXPECT_EQ(a.pixels.get(3, 12, 7u), 0u) << "the spare row";

    s.form().timerA1.setEnabled(true);
    s.form().typeA.setListIndex(-1);
    s.form().typeA_Click();
    EXPECT_EQ(s.messages().back(), "Wert nicht erlaubt");
    EXPECT_EQ(a.type, 2);
    EXPECT_FALSE(s.form().timerA1.Enabled());
}

TEST(ListClick, StartsTheEntryOnceAndAnUnknownTypeSaysSo) {
    KavrelSession s;
    int starts = 0;
    ScriptedEffect& fire = installScripted(s.k().effects(), EffectType::Fire);
    fire.onStart = [&starts](BankContext&) { ++starts; };
    s.form().addA_Click();
    s.state().bankA.eff[1].type = 6;
    s.state().bankA.colorFadeRunning = true;
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(s.form().typeA.ListIndex(), 6);
    EXPECT_FALSE(s.state().bankA.colorFadeRunning);
    EXPECT_EQ(s.state().bankA.eff[1].speed, 0) << "no defaults on a list click";

    s.state().bankA.eff[0].type = 12;
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(s.messages().back(), "Wert nicht erlaubt");
    EXPECT_EQ(s.form().typeA.ListIndex(), -1);
}

TEST(UpAndRemove, MovesItemsAndRestartsTheNewCurrentEntryOnce) {
    KavrelSession s;
    MatrixForm& f = s.form();
    for (int i = 0; i < 3; ++i) f.addA_Click();
    for (int row = 1; row <= 4; ++row)
        f.efxAList.Item(row).Text = std::string("e").append(std::to_string(row - 1));
    f.efxAList.Select(4);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(s.driver.click("MatrixForm.upA"));
    EXPECT_EQ(f.efxAList.Item(1).Text, "e3");
    EXPECT_EQ(f.efxAList.SubItem(1, 1), "3");
    EXPECT_EQ(f.efxAList.Item(2).Text, "e0");
    EXPECT_EQ(f.efxAList.SelectedIndex(), 1);
    ASSERT_TRUE(s.driver.click("MatrixForm.upA"));  // the first item stays
    EXPECT_EQ(f.efxAList.Item(1).Text, "e3");

    int starts = 0;
    ScriptedEffect& fire = installScripted(s.k().effects(), EffectType::Fire);
    fire.onStart = [&starts](BankContext&) { ++starts; };
    s.state().bankA.eff[0].type = 6;  // e0, now second
    // Removing the first item selects the one that followed it.
    ASSERT_TRUE(s.driver.click("MatrixForm.removeA"));
    EXPECT_EQ(f.efxAList.Item(1).Text, "e0");
    EXPECT_EQ(s.state().bankA.curEff, 0);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(s.state().bankA.effCount, 3);
    EXPECT_EQ(s.state().bankA.delCount, 1);
    EXPECT_EQ(s.state().bankA.eff[3].name, "new effect") << "the record stays";
    // Any other selects the one above.
    f.efxAList.Select(3);
    ASSERT_TRUE(s.driver.click("MatrixForm.removeA"));
    EXPECT_EQ(f.efxAList.SelectedIndex(), 2);
    EXPECT_EQ(s.state().bankA.curEff, 1);

    ASSERT_TRUE(s.driver.click("MatrixForm.removeB"));  // one item: nothing removed
    EXPECT_EQ(f.efxBList.Count(), 1);
    EXPECT_EQ(s.state().bankB.delCount, 0);
}

TEST(UpAndRemove, WarnsAboveThirtyRemovedEvenWhenNothingIsRemoved) {
    KavrelSession s;
    MatrixForm& f = s.form();
    for (int i = 0; i < 31; ++i) f.addA_Click();
    for (int i = 0; i < 30; ++i) f.removeA_Click();
    const std::string warning =
        "more then 30 deleted effects in memory\nplease Save and Reload effects !";
    EXPECT_TRUE(std::find(s.messages().begin(), s.messages().end(), warning) == s.messages().end());
    f.removeA_Click();
    EXPECT_EQ(s.messages().back(), warning);
    const size_t shown = s.messages().size();
    ASSERT_EQ(f.efxBList.Count(), 1);
    f.removeB_Click();
    EXPECT_EQ(s.messages().size(), shown + 1);
    EXPECT_EQ(s.messages().back(), warning);
}

TEST(UpAndRemove, RemovingAFadeShowsTheNeighbourColourLast) {
    KavrelSession s;
    MatrixForm& f = s.form();
    f.addX_Click();
    s.state().fadeList[1].time = 0.125;
    s.state().fadeList[1].name = "next";
    f.efxXList.Select(1);
    ASSERT_TRUE(s.driver.click("MatrixForm.removeX"));
    EXPECT_EQ(s.state().curFade, 1);
    EXPECT_EQ(f.fadeName.Text(), "next");
    EXPECT_EQ(f.efxXList.Item(1).Text, "next");
    EXPECT_EQ(s.state().fadeList[1].time, 0.13) << "stored back by the time box";
    EXPECT_FALSE(f.MFadeColor.Enabled()) << "a CrossFade";
    EXPECT_EQ(f.MFadeColor.BackColor(), kRed) << "yet showing its own colour";
    EXPECT_EQ(s.state().fadeCount, 1);
    EXPECT_EQ(s.state().delCountX, 1);
}

TEST(Paste, BeforeAnyCopyCopyAcrossBanksAndKeptFields) {
    KavrelSession s;
    MatrixForm& f = s.form();
    ASSERT_TRUE(s.driver.click("MatrixForm.pasteMemA"));
    EXPECT_EQ(current(s, BankId::A).name, "");
    EXPECT_EQ(current(s, BankId::A).color1, 0u);
    EXPECT_TRUE(s.state().bankA.effOk[0]);
    EXPECT_EQ(f.efxAList.Item(1).Text, "");

    EffectRecord& a = current(s, BankId::A);
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fluid"));
    a.name = "flow";
    a.beat = 1;
    ASSERT_TRUE(s.driver.click("MatrixForm.copyMemA"));
    // Bank B: the target moved to the second row; its beat stays its own.
    f.addB_Click();
    f.efxBList.Select(2);
    f.efxBList_Click();
    ASSERT_TRUE(s.driver.click("MatrixForm.upB"));
    ASSERT_TRUE(s.driver.click("MatrixForm.pasteMemB"));
    const EffectRecord& b = s.state().bankB.eff[1];
    EXPECT_EQ(b.name, "flow");
    EXPECT_EQ(b.type, 7);
    EXPECT_EQ(b.color2, platform::rgb(255, 255, 255));
    EXPECT_EQ(b.beat, 0);
    EXPECT_EQ(f.efxBList.Item(1).Text, "flow");
    EXPECT_EQ(f.efxBList.Item(2).Text, "new effect");
    EXPECT_EQ(f.typeB.ListIndex(), 7);
    a.color1 = 1;
    EXPECT_EQ(b.color1, platform::rgb(0, 0, 255)) << "independent after the paste";

    // A BeamShow is pasted with its beams, over a Color Change's colours.
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "BeamShow"));
    a.colors[2] = 77;
    a.speed = 33;
    ASSERT_TRUE(s.driver.click("MatrixForm.copyMemA"));
    ASSERT_TRUE(s.driver.set("MatrixForm.typeB", "Color Change"));
    s.state().bankB.eff[1].colors = {5, 6, 7};
    ASSERT_TRUE(s.driver.click("MatrixForm.pasteMemB"));
    EXPECT_EQ(b.colors, (std::vector<uint32_t>{platform::rgb(0, 255, 0), kRed, 77, kYellow, 0}));
    EXPECT_EQ(b.colorValues, (std::vector<int32_t>{0, -1, -1, -1, 0}));
    EXPECT_EQ(b.speed, 33);
}

TEST(Paste, StartsThePastedEntryOnce) {
    KavrelSession s;
    int starts = 0;
    ScriptedEffect& fire = installScripted(s.k().effects(), EffectType::Fire);
    fire.onStart = [&starts](BankContext&) { ++starts; };
    s.state().copyBuffer.type = 6;
    ASSERT_TRUE(s.driver.click("MatrixForm.pasteMemA"));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(s.form().typeA.ListIndex(), 6);
}

TEST(FadeColour, OkStoresTheMixedColourAndCancelKeepsIt) {
    KavrelSession s;
    MatrixForm& f = s.form();
    EXPECT_EQ(f.FadeColorText.Caption(), "Color : ");
    EXPECT_EQ(f.MFadeColor.ToolTipText(), "edits color for color fade");
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "ColorFade"));
    ASSERT_EQ(f.MFadeColor.BackColor(), kRed);
    const auto answer = [&s](const char* green, bool ok) {
        s.plugin().desktop().queueAction([&s, green, ok] {
            ASSERT_TRUE(s.driver.set("MxColorMixer.Sgreen", green));
            ASSERT_TRUE(s.driver.click(ok ? "MxColorMixer.BOK" : "MxColorMixer.Bcancel"));
        });
    };
    answer("128", true);
    ASSERT_TRUE(s.driver.click("MatrixForm.MFadeColor"));
    EXPECT_EQ(f.MFadeColor.BackColor(), platform::rgb(255, 128, 0));
    EXPECT_EQ(s.state().fadeList[0].color, platform::rgb(255, 128, 0));
    answer("7", false);
    ASSERT_TRUE(s.driver.click("MatrixForm.MFadeColor"));
    EXPECT_EQ(f.MFadeColor.BackColor(), platform::rgb(255, 128, 0));
    EXPECT_EQ(s.state().fadeList[0].color, platform::rgb(255, 128, 0));
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeType", "CrossFade"));
    EXPECT_FALSE(s.driver.click("MatrixForm.MFadeColor")) << "disabled, it takes no click";
}

TEST(TimedFade, EndsOnItsTimeThroughExactSteps) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "-100"));
    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "1.25"));
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeRight"));
    s.wait(625);  // 50 of 100 steps
    EXPECT_EQ(s.state().mixPos, 0.5);
    s.wait(624);
    EXPECT_LT(s.state().mixPos, 1.0) << "not before 1.25 s";
    EXPECT_TRUE(s.form().timerM.Enabled());
    s.wait(1);
    EXPECT_EQ(s.state().mixPos, 1.0);
    EXPECT_FALSE(s.form().timerM.Enabled());

    ASSERT_TRUE(s.driver.set("MatrixForm.fadeTimeText", "2.35"));
    ASSERT_TRUE(s.driver.click("MatrixForm.fadeLeft"));
    s.wait(2349);
    EXPECT_GT(s.state().mixPos, 0.0);
    s.wait(1);
    EXPECT_EQ(s.state().mixPos, 0.0);
    EXPECT_FALSE(s.form().timerM.Enabled());
}

}  // namespace
}  // namespace kavrel::testing
