// Fire, Fluid and BeamShow entries on the real host: started from the bank
// lists, stepped by their timers and beats, and edited in their editors.
#include <gtest/gtest.h>

#include "effects/beam_show/mx_laser.h"
#include "effects/fire/mx_fire.h"
#include "effects/fluid/mx_water.h"
#include "main_window/matrix_form.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kWhite = platform::rgb(255, 255, 255);

// Adds an entry of `type` to the bank and selects it.
EffectRecord& runEntry(KavrelSession& s, bool bankB, EffectType type,
                       void (*setUp)(EffectRecord&)) {
    MatrixForm& f = s.form();
    bankB ? f.addB_Click() : f.addA_Click();
    BankState& b = s.state().bank(bankB);
    EffectRecord& e = b.eff[static_cast<size_t>(b.effCount - 1)];
    e.type = static_cast<int16_t>(type);
    setUp(e);
    const char* list = bankB ? "MatrixForm.efxBList" : "MatrixForm.efxAList";
    EXPECT_TRUE(s.driver.select(list, (bankB ? f.efxBList : f.efxAList).Count()));
    return e;
}

bool anyLit(const Frame& f, int cols, int rows) {
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (f.rgb(x, y) != 0u) return true;
    return false;
}

TEST(GeneratedSession, FireStartsPrimedAndStepsOnItsTimer) {
    KavrelSession s;
    runEntry(s, false, EffectType::Fire, [](EffectRecord& e) {
        e.color1 = kWhite;
        e.color2 = kWhite;
        e.level = 100;
        e.speed = 80;
    });
    BankContext& a = *s.k().bank(BankId::A);
    EXPECT_EQ(a.stepTimer().Interval(), 170);
    EXPECT_TRUE(a.stepTimer().Enabled());
    EXPECT_TRUE(anyLit(s.state().bankA.frame, 12, 12));
    const uint64_t before = s.plugin().desktop().random().draws();
    s.wait(175);
    EXPECT_GT(s.plugin().desktop().random().draws(), before);
    EXPECT_TRUE(a.stepTimer().Enabled());  // restarted after the step
    s.k().runBeat();                       // Fire has no beat control
}

TEST(GeneratedSession, FireAtLevelZeroRepaintsThePaneBlack) {
    KavrelSession s;
    EffectRecord& e = runEntry(s, false, EffectType::Fire, [](EffectRecord& r) {
        r.color1 = kWhite;
        r.level = 100;
        r.speed = 100;
    });
    s.wait(50);
    e.level = 0;
    s.wait(50);
    EXPECT_FALSE(anyLit(s.state().bankA.frame, 12, 12));
    EXPECT_FALSE(anyLit(s.state().bankA.shadow, 12, 12));  // the pane shows black
}

TEST(GeneratedSession, FluidBeatsWithinTheLockOutAreDropped) {
    KavrelSession s;
    EffectRecord& e = runEntry(s, true, EffectType::Fluid, [](EffectRecord& r) {
        r.color1 = platform::rgb(200, 0, 0);
        r.direction = 1;
        r.beat = 0;
        r.speed = 50;
    });
    BankContext& b = *s.k().bank(BankId::B);
    EXPECT_EQ(b.stepTimer().Interval(), 1010);
    EXPECT_EQ(s.state().bankB.frame.rgb(3, 0), platform::rgb(200, 0, 0));  // primed full
    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));
    ASSERT_TRUE(s.driver.set("MxWater.beatControl", "1"));
    EXPECT_EQ(e.beat, 1);
    EXPECT_TRUE(s.state().bankB.beat);
    EXPECT_FALSE(b.stepTimer().Enabled());
    EXPECT_EQ(b.secondTimer().Interval(), 50);

    e.color1 = platform::rgb(0, 90, 0);
    s.k().runBeat();
    EXPECT_EQ(s.state().bankB.frame.rgb(0, 11), platform::rgb(0, 90, 0));
    e.color1 = platform::rgb(0, 0, 90);
    s.wait(20);
    s.k().runBeat();  // dropped
    EXPECT_EQ(s.state().bankB.frame.rgb(0, 11), platform::rgb(0, 90, 0));
    s.wait(40);
    s.k().runBeat();
    EXPECT_EQ(s.state().bankB.frame.rgb(0, 11), platform::rgb(0, 0, 90));

    ASSERT_TRUE(s.driver.set("MxWater.beatControl", "0"));
    EXPECT_FALSE(s.state().bankB.beat);
    EXPECT_TRUE(b.stepTimer().Enabled());
}

TEST(GeneratedSession, EditorsFillWithoutWritingAndNameTheirOwnEntry) {
    KavrelSession s;
    EffectRecord& e = runEntry(s, true, EffectType::Fire, [](EffectRecord& r) {
        r.level = 250;  // beyond the slider
        r.speed = 30;
        r.name = "old";
    });
    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));
    MxFire& w = static_cast<MxFire&>(*s.plugin().desktop().window("MxFire"));
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.slIntensity.Value(), 100);
    EXPECT_EQ(e.level, 250);  // the fill stored nothing back
    ASSERT_TRUE(s.driver.set("MxFire.slSpeed", "90"));
    EXPECT_EQ(e.speed, 90);
    EXPECT_EQ(s.k().bank(BankId::B)->stepTimer().Interval(), 50);
    ASSERT_TRUE(s.driver.set("MxFire.myName", "flames"));
    ASSERT_TRUE(s.driver.key("MxFire.myName", 13));
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(e.name, "flames");
    EXPECT_EQ(s.form().efxBList.Item(s.form().efxBList.Count()).Text, "flames");
    EXPECT_TRUE(s.state().bankB.effOk[static_cast<size_t>(s.state().bankB.curEff)]);
}

TEST(GeneratedSession, EditorsHideWhenTheirEntryIsNoLongerCurrent) {
    KavrelSession s;
    runEntry(s, false, EffectType::Fire, [](EffectRecord& r) { r.level = 40; });
    const auto fireIndex = static_cast<size_t>(s.state().bankA.curEff);
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    platform::Window& w = *s.plugin().desktop().window("MxFire");
    ASSERT_TRUE(w.Visible());
    EffectRecord& other =
        runEntry(s, false, EffectType::Fire, [](EffectRecord& r) { r.level = 10; });
    EXPECT_FALSE(w.Visible());
    const EffectRecord& fire = s.state().bankA.eff[fireIndex];
    EXPECT_EQ(fire.level, 40);
    static_cast<MxFire&>(w).slIntensity_Change();  // nothing goes into another entry
    EXPECT_EQ(other.level, 10);
    EXPECT_EQ(fire.level, 40);
}

TEST(GeneratedSession, CloseallHidesFireButNotFluidOrBeamShow) {
    KavrelSession s;
    runEntry(s, false, EffectType::Fire, [](EffectRecord&) {});
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    runEntry(s, true, EffectType::Fluid, [](EffectRecord& r) { r.direction = 5; });
    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));
    platform::Desktop& d = s.plugin().desktop();
    // The edit button confirmed the Fire editor before opening the Fluid one.
    EXPECT_FALSE(d.window("MxFire")->Visible());
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_TRUE(d.window("MxFire")->Visible());
    EXPECT_FALSE(d.window("MxWater")->Visible());  // confirmed by the edit button
    ASSERT_TRUE(s.driver.click("MatrixForm.editB"));
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(d.window("MxFire")->Visible());
    EXPECT_TRUE(d.window("MxWater")->Visible());
}

TEST(GeneratedSession, BeamShowStartsItsSweepsAndItsEditorKeepsAnUnconfirmedName) {
    KavrelSession s;
    EffectRecord& e = runEntry(s, false, EffectType::BeamShow, [](EffectRecord& r) {
        r.colors = {platform::rgb(0, 255, 0)};  // shorter than its beams
        r.colorValues = {2};
        r.speed = 50;
        r.name = "beams";
    });
    BankState& a = s.state().bankA;
    EXPECT_EQ(e.colorValues.size(), 5u);  // grown on start, the rest off
    EXPECT_EQ(e.colorValues[1], -1);
    EXPECT_EQ(a.laserPos[0], 1);  // moved before it was drawn
    EXPECT_EQ(a.frame.rgb(4, 1), platform::rgb(0, 255, 0));
    EXPECT_EQ(s.k().bank(BankId::A)->stepTimer().Interval(), 1010);

    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    MxLaser& w = static_cast<MxLaser&>(*s.plugin().desktop().window("MxLaser"));
    EXPECT_EQ(w.LaserType[0].ListIndex(), 2);
    EXPECT_EQ(w.chLaser[1].Value(), 0);
    EXPECT_FALSE(w.slBlank.Enabled());
    // Ticking beam 1 with "line" chosen turns it on; unticking turns it off.
    ASSERT_TRUE(s.driver.click("MxLaser.chLaser(1)"));
    EXPECT_EQ(e.colorValues[1], 0);
    ASSERT_TRUE(s.driver.click("MxLaser.chLaser(1)"));
    EXPECT_EQ(e.colorValues[1], -1);
    ASSERT_TRUE(s.driver.set("MxLaser.LaserType(0)", "vertical"));
    EXPECT_EQ(e.colorValues[0], 3);
    EXPECT_EQ(a.laserDir[0], 1);

    ASSERT_TRUE(s.driver.set("MxLaser.myName", "typed"));
    ASSERT_TRUE(s.driver.key("MxLaser.myName", 13));  // Enter does nothing
    EXPECT_TRUE(w.Visible());
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));  // refills: the name is lost
    EXPECT_EQ(w.myName.Text(), "beams");
    EXPECT_EQ(e.name, "beams");
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_TRUE(w.Visible());
    ASSERT_TRUE(s.driver.click("MxLaser.OK"));
    EXPECT_FALSE(w.Visible());
}

}  // namespace
}  // namespace kavrel::testing
