// Start-up of the main window, reloading it, and Closeall.
#include <gtest/gtest.h>

#include "core/editor_hooks.h"
#include "platform/runtime/convert.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

const char* const kTimers[] = {
    "timerA1",        "timerA2",          "timerB1",         "timerB2",      "timerM",
    "updateDMXTimer", "updateVoVevTimer", "updateMainTimer", "updateATimer", "updateBTimer"};

TEST(MainWindowLoad, TimersStartStoppedExceptThePreviewTimers) {
    KavrelSession s;
    for (const char* t : kTimers) {
        const std::string name = std::string("MatrixForm.") + t;
        const bool preview = std::string(t).starts_with("update") &&
                             std::string(t) != "updateDMXTimer" &&
                             std::string(t) != "updateVoVevTimer";
        EXPECT_EQ(s.prop(name + ".Enabled"), preview ? "True" : "False") << t;
    }
    EXPECT_EQ(s.prop("MatrixForm.updateDMXTimer.Interval"), "25");
    EXPECT_EQ(s.prop("MatrixForm.updateVoVevTimer.Interval"), "30");
    for (const char* t : {"updateMainTimer", "updateATimer", "updateBTimer"})
        EXPECT_EQ(s.prop(std::string("MatrixForm.") + t + ".Interval"), "50");
}

TEST(MainWindowLoad, FillsBoxesListsAndDefaults) {
    KavrelSession s;
    MatrixForm& f = s.form();
    ASSERT_EQ(f.typeA.ListCount(), 10);
    EXPECT_EQ(f.typeA.List(0), "Color");
    EXPECT_EQ(f.typeA.ListIndex(), 0);
    ASSERT_EQ(f.fadeType.ListCount(), 11);
    EXPECT_EQ(f.fadeType.List(10), "Add");
    EXPECT_EQ(f.fadeType.ListIndex(), 0);

    for (platform::ListView* list : {&f.efxAList, &f.efxBList, &f.efxXList}) {
        ASSERT_EQ(list->Count(), 1);
        EXPECT_EQ(list->SubItem(1, 1), "0");
        EXPECT_EQ(list->SelectedIndex(), 1);
    }
    EXPECT_EQ(f.efxAList.Item(1).Text, "new effect");
    EXPECT_EQ(f.efxXList.Item(1).Text, "new fade");

    SharedState& st = s.state();
    EXPECT_EQ(st.bankA.effCount, 1);
    EXPECT_EQ(st.bankA.colIdx, -1);
    EXPECT_EQ(st.bankB.colIdx, -1);
    EXPECT_EQ(st.bankA.eff[0].color1, kRed);
    EXPECT_EQ(st.bankB.eff[0].color1, kBlue);
    EXPECT_FALSE(st.bankA.effOk[0]);
    ASSERT_EQ(st.fadeCount, 1);
    EXPECT_EQ(st.fadeList[0].time, 3.0);
    EXPECT_EQ(st.fadeList[0].color, kRed);
    EXPECT_EQ(st.fadeTime, 3.0);
    EXPECT_EQ(f.fadeTimeText.Text(), "3.00");
    EXPECT_FALSE(f.MFadeColor.Enabled());

    EXPECT_EQ(st.mixPos, 0.5);
    EXPECT_EQ(f.faderM.Value(), 0);
    EXPECT_EQ(f.extmxsim_active.BackColor(), platform::rgb(64, 64, 64));
    EXPECT_EQ(f.extmxsim_active.ForeColor(), platform::rgb(255, 0, 0));
}

TEST(MainWindowLoad, BanksRedAndBlueMixedOnceAtTheMiddle) {
    KavrelSession s;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(s.plugin().framePixel('A', x, y), kRed);
            EXPECT_EQ(s.plugin().framePixel('B', x, y), kBlue);
            // 127.5 rounds half to even.
            EXPECT_EQ(s.plugin().framePixel('M', x, y), platform::rgb(128, 0, 128));
        }
    EXPECT_TRUE(s.state().dirtyDmx);
}

TEST(MainWindowLoad, GridFromStartOptionsAndSampleBoxesSized) {
    KavrelSession s(gridOptions(20, 8));
    EXPECT_EQ(s.plugin().gridCols(), 20);
    EXPECT_EQ(s.plugin().gridRows(), 8);
    EXPECT_EQ(s.form().miniA.surface().width(), 20);
    EXPECT_EQ(s.form().miniB.surface().height(), 8);
    EXPECT_FALSE(s.form().miniA.Visible());
    EXPECT_FALSE(s.form().imageB.Visible());
    EXPECT_EQ(s.plugin().framePixel('A', 19, 7), kRed);
    EXPECT_EQ(s.plugin().framePixel('A', 20, 7), std::nullopt);
}

TEST(MainWindowLoad, GermanFadeTimeUsesTheDecimalComma) {
    orva::StartOptions o;
    o.locale = platform::Locale::german();
    KavrelSession s(o);
    EXPECT_EQ(s.form().fadeTimeText.Text(), "3,00");
}

TEST(MainWindowLoad, ReloadRunsTheHandlerAgainAndKeepsTheGridInForce) {
    KavrelSession s(gridOptions(20, 8));
    s.form().addA_Click();
    s.form().addA_Click();
    s.state().sizeGrid(5, 4);  // as a loaded configuration would
    s.info.window->unloadWindow();
    EXPECT_EQ(s.loadedForm(), nullptr);

    s.state().dirtyM = true;
    s.wait(200);  // the unloaded window's pane timer must not run
    EXPECT_TRUE(s.state().dirtyM);

    s.info.window->loadWindow();
    EXPECT_EQ(s.plugin().gridCols(), 5);
    EXPECT_EQ(s.plugin().gridRows(), 4);
    EXPECT_EQ(s.form().efxAList.Count(), 1);
    EXPECT_EQ(s.state().bankA.effCount, 1);
    EXPECT_EQ(s.state().bankA.eff.size(), 2u);
    EXPECT_EQ(s.plugin().framePixel('B', 4, 3), kBlue);
}

struct FakeEditor : platform::Window {
    explicit FakeEditor(platform::Desktop& d, const char* name) : Window(d, name) {}
};

TEST(Closeall, StopsEveryTimerUnticksOutputAndPreviewHidesWindowsKeepsTheLink) {
    KavrelSession s;
    MatrixForm& f = s.form();
    FakeEditor shownEditor(s.plugin().desktop(), "EditorOne");
    FakeEditor keptEditor(s.plugin().desktop(), "EditorTwo");
    for (FakeEditor* e : {&shownEditor, &keptEditor}) e->Show(false);
    const EditorHooks::Registration one =
        s.k().editors().add(EditorHook{"EditorOne", [&] { return &shownEditor; }, {}, true, true});
    const EditorHooks::Registration two =
        s.k().editors().add(EditorHook{"EditorTwo", [&] { return &keptEditor; }, {}, true, false});

    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    f.vovev_active.setValue(1);
    f.extmxsim_active.setValue(1);
    // The Network box's handling would drop the simulator link.
    int networkClicks = 0;
    f.extmxsim_active.onClick = [&] { ++networkClicks; };
    for (platform::Timer* t :
         {&f.timerA1, &f.timerA2, &f.timerB1, &f.timerB2, &f.timerM, &f.updateVoVevTimer})
        t->setEnabled(true);

    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    for (const char* t : kTimers)
        EXPECT_EQ(s.prop(std::string("MatrixForm.") + t + ".Enabled"), "False") << t;
    EXPECT_EQ(f.dmx_active.Value(), 0);
    EXPECT_EQ(f.vovev_active.Value(), 0);
    EXPECT_EQ(f.extmxsim_active.Value(), 1);
    EXPECT_EQ(networkClicks, 0);
    EXPECT_FALSE(shownEditor.Visible());
    EXPECT_TRUE(keptEditor.Visible());
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(f.isLoaded());
}

}  // namespace
}  // namespace kavrel::testing
