// The bank lists and the fade list: selecting, adding, moving down,
// clearing, copying and editing entries.
#include <gtest/gtest.h>

#include <vector>

#include <string>

#include "core/editor_hooks.h"
#include "tests/core/kavrel_session.h"
#include "tests/support/scripted_effect.h"

namespace kavrel::testing {
namespace {

TEST(BankLists, AddStopsAt256AndIndexesTheNewRecords) {
    KavrelSession s;
    MatrixForm& f = s.form();
    for (int i = 0; i < 255; ++i) ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    BankState& a = s.state().bankA;
    ASSERT_EQ(a.effCount, 256);
    ASSERT_EQ(f.efxAList.Count(), 256);
    EXPECT_EQ(f.efxAList.SubItem(256, 1), "255");
    EXPECT_EQ(a.eff.size(), 257u);  // one spare record
    EXPECT_EQ(a.effOk.size(), 257u);
    EXPECT_EQ(a.eff[255].name, "new effect");
    EXPECT_EQ(a.eff[255].color1, platform::rgb(255, 0, 0));
    EXPECT_FALSE(a.effOk[255]);
    EXPECT_TRUE(s.messages().empty());

    ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    EXPECT_EQ(s.plugin().desktop().lastMessage(), "more then 256 effects are not allowed !");
    EXPECT_EQ(a.effCount, 256);
    EXPECT_EQ(f.efxAList.Count(), 256);
    EXPECT_EQ(a.eff.size(), 257u);

    ASSERT_TRUE(s.driver.click("MatrixForm.addB"));
    EXPECT_EQ(s.state().bankB.eff[1].color1, platform::rgb(0, 0, 255));
    EXPECT_EQ(f.efxBList.SubItem(2, 1), "1");
}

TEST(BankLists, RemovedRecordsKeepTheirPlaceWhenAdding) {
    KavrelSession s;
    BankState& a = s.state().bankA;
    a.delCount = 3;  // three records of removed items are still held
    a.eff.resize(5);
    a.effOk.resize(5);
    a.eff[3].name = "kept";
    ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    EXPECT_EQ(a.effCount, 2);
    EXPECT_EQ(s.form().efxAList.SubItem(2, 1), "4");
    EXPECT_EQ(a.eff.size(), 6u);
    EXPECT_EQ(a.eff[3].name, "kept");
    EXPECT_EQ(a.eff[4].name, "new effect");
}

TEST(BankLists, DownExchangesItemsButNeverRecords) {
    KavrelSession s;
    MatrixForm& f = s.form();
    f.addA_Click();
    f.addA_Click();
    BankState& a = s.state().bankA;
    a.eff[0].name = "zero";
    f.efxAList.Item(1).Text = "zero";

    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    ASSERT_TRUE(s.driver.click("MatrixForm.downA"));
    EXPECT_EQ(f.efxAList.SelectedIndex(), 2);
    EXPECT_EQ(f.efxAList.Item(1).Text, "new effect");
    EXPECT_EQ(f.efxAList.SubItem(1, 1), "1");
    EXPECT_EQ(f.efxAList.Item(2).Text, "zero");
    EXPECT_EQ(f.efxAList.SubItem(2, 1), "0");
    EXPECT_EQ(a.eff[0].name, "zero");
    EXPECT_EQ(a.curEff, 0);

    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(a.curEff, 1);

    // The last item and a list without selection stay as they are.
    f.efxAList.Select(3);
    ASSERT_TRUE(s.driver.click("MatrixForm.downA"));
    EXPECT_EQ(f.efxAList.SubItem(3, 1), "2");
    EXPECT_EQ(f.efxAList.SelectedIndex(), 3);
    f.efxAList.Deselect();
    ASSERT_TRUE(s.driver.click("MatrixForm.downA"));
    EXPECT_EQ(f.efxAList.SubItem(1, 1), "1");
}

TEST(BankLists, SelectionStopsTheBankTimersAndStartsByType) {
    KavrelSession s;
    MatrixForm& f = s.form();
    f.addA_Click();
    EffectRecord& g = s.state().bankA.eff[1];
    g.type = static_cast<int16_t>(EffectType::Gradient);
    g.color1 = platform::rgb(255, 0, 0);
    g.color2 = platform::rgb(255, 255, 0);
    g.direction = 7;
    f.timerA1.setEnabled(true);
    f.timerA2.setEnabled(true);

    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_EQ(s.state().bankA.curEff, 1);
    EXPECT_EQ(f.typeA.ListIndex(), 1);
    EXPECT_FALSE(f.timerA1.Enabled());
    EXPECT_FALSE(f.timerA2.Enabled());
    EXPECT_EQ(s.plugin().framePixel('A', 0, 5), platform::rgb(255, 0, 0));
    EXPECT_EQ(s.plugin().framePixel('A', 11, 5), platform::rgb(255, 255, 0));
    EXPECT_TRUE(s.state().bankA.dirty);
    // Mixed at once: half of yellow over half of bank B's blue.
    EXPECT_EQ(s.plugin().framePixel('M', 11, 5), platform::rgb(128, 128, 128));
}

TEST(BankLists, PaintEntryShowsItsPictureAndBadGradientIsReported) {
    KavrelSession s;
    MatrixForm& f = s.form();
    f.addB_Click();
    f.addB_Click();
    BankState& b = s.state().bankB;
    b.eff[1].type = static_cast<int16_t>(EffectType::Paint);
    b.eff[1].pixels.set(2, 3, platform::rgb(10, 20, 30));
    b.eff[2].type = static_cast<int16_t>(EffectType::Gradient);
    b.eff[2].direction = 11;

    ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 2));
    EXPECT_EQ(s.plugin().framePixel('B', 2, 3), platform::rgb(10, 20, 30));
    EXPECT_EQ(s.plugin().framePixel('B', 3, 3), platform::rgb(0, 0, 0));

    ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 3));
    EXPECT_EQ(s.plugin().desktop().lastMessage(), "direction not correct !");
    EXPECT_EQ(s.plugin().framePixel('B', 2, 3), platform::rgb(10, 20, 30));
}

TEST(BankLists, StartRunsOnceAndBadIndexesSelectNothing) {
    KavrelSession s;
    MatrixForm& f = s.form();
    int starts = 0;
    installScripted(s.k().effects(), EffectType::Fire).onStart = [&](BankContext&) { ++starts; };
    f.addA_Click();
    s.state().bankA.eff[1].type = static_cast<int16_t>(EffectType::Fire);
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(f.typeA.ListIndex(), 6);

    // An item naming no record is no selection.
    f.efxAList.setSubItem(1, 1, "99");
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(s.state().bankA.curEff, 1);
    f.efxAList.setSubItem(1, 1, "zero");
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(s.state().bankA.curEff, 1);
    EXPECT_EQ(starts, 1);
}

TEST(BankLists, ClearMakesABlackConfiguredColorEntry) {
    KavrelSession s;
    MatrixForm& f = s.form();
    EffectRecord& e = s.state().bankB.eff[0];
    e.type = static_cast<int16_t>(EffectType::Fire);
    e.color1 = platform::rgb(1, 2, 3);
    f.timerB1.setEnabled(true);
    ASSERT_TRUE(s.driver.click("MatrixForm.clearB"));
    EXPECT_EQ(e.type, 0);
    EXPECT_EQ(e.color1, 0u);
    EXPECT_TRUE(s.state().bankB.effOk[0]);
    EXPECT_FALSE(f.timerB1.Enabled());
    EXPECT_EQ(f.typeB.ListIndex(), 0);
    EXPECT_EQ(s.plugin().framePixel('B', 7, 7), platform::rgb(0, 0, 0));
    EXPECT_EQ(s.plugin().framePixel('M', 7, 7), platform::rgb(128, 0, 0));
}

TEST(BankLists, CopyKeepsWhatPastingTakes) {
    KavrelSession s;
    EffectRecord& e = s.state().bankA.eff[0];
    e.type = static_cast<int16_t>(EffectType::Gradient);
    e.name = "sunset";
    e.color2 = platform::rgb(9, 9, 9);
    e.direction = 3;
    e.speed = 70;
    ASSERT_TRUE(s.driver.click("MatrixForm.copyMemA"));
    const EffectRecord& c = s.state().copyBuffer;
    EXPECT_EQ(c.name, "sunset");
    EXPECT_EQ(c.type, 1);
    EXPECT_EQ(c.color1, platform::rgb(255, 0, 0));
    EXPECT_EQ(c.color2, platform::rgb(9, 9, 9));
    EXPECT_EQ(c.direction, 3);
    EXPECT_EQ(c.speed, 0);
}

struct FakeEditor : platform::Window {
    explicit FakeEditor(platform::Desktop& d) : Window(d, "FakeEditor") {}
};

TEST(BankLists, EditConfirmsVisibleEditorsAndOpensTheBoxesType) {
    KavrelSession s;
    MatrixForm& f = s.form();
    FakeEditor editor(s.plugin().desktop());
    int confirmed = 0;
    const EditorHooks::Registration hook = s.k().editors().add(
        EditorHook{"FakeEditor", [&] { return &editor; }, [&] { ++confirmed; }, true, true});
    std::string opened;
    installScripted(s.k().effects(), EffectType::Fire).onEdit = [&](BankContext& b) {
        opened += b.state().letter;
    };

    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));  // editor hidden: not confirmed
    EXPECT_EQ(confirmed, 0);
    EXPECT_EQ(s.state().editBankB, 1);

    editor.Show(false);
    f.typeA.setListIndex(6);  // the box says Fire
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(confirmed, 1);
    EXPECT_EQ(s.state().editBankB, 0);
    EXPECT_EQ(s.state().bankA.eff[0].type, 6);
    EXPECT_EQ(opened, "A");
}

TEST(BankLists, EditConfirmsEachVisibleEditorOnceWhenAnOkRegistersMoreEditors) {
    KavrelSession s;
    FakeEditor first(s.plugin().desktop());
    FakeEditor second(s.plugin().desktop());
    first.Show(false);
    second.Show(false);
    EditorHooks& hooks = s.k().editors();
    int secondConfirmed = 0;
    std::vector<EditorHooks::Registration> late;
    // The first editor's OK creates windows that register themselves.
    const EditorHooks::Registration firstHook =
        hooks.add(EditorHook{"First", [&] { return &first; },
                             [&] {
                                 for (int i = 0; i < 64; ++i)
                                     late.push_back(hooks.add(EditorHook{
                                         "Late", [&] { return &first; }, {}, true, true}));
                             },
                             true, true});
    EditorHooks::Registration secondHook = hooks.add(
        EditorHook{"Second", [&] { return &second; }, [&] { ++secondConfirmed; }, true, true});
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(secondConfirmed, 1);

    // A registration dropped (its editor's module replaced) leaves no hook.
    secondHook = EditorHooks::Registration();
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(secondConfirmed, 1);
}

TEST(BankLists, ReplacingAnEffectWithAnEditorLeavesNoHookBehind) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));  // the Color editor opens
    installScripted(s.k().effects(), EffectType::Color);
    // The old editor's hooks went with its module: nothing reaches it now.
    s.k().editors().hideForCloseall();
    s.k().editors().entriesChanged();
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
}

TEST(BankLists, EditWithNoTypeChosenIsRefusedAndWritesNothing) {
    KavrelSession s;
    MatrixForm& f = s.form();
    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));
    ASSERT_EQ(s.state().editBankB, 1);
    f.typeA.setListIndex(42);  // outside the list: nothing chosen
    ASSERT_EQ(f.typeA.ListIndex(), -1);
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(s.plugin().desktop().lastMessage(), "Wert nicht erlaubt");
    EXPECT_EQ(s.state().editBankB, 1);
    EXPECT_EQ(s.state().bankA.eff[0].type, 0);
}

}  // namespace
}  // namespace kavrel::testing
