// Fire, Fluid and BeamShow chosen in the type box: a new entry and one
// chosen again start differently from a list click.
#include <gtest/gtest.h>

#include <deque>

#include "core/bank_context.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kMarker = platform::rgb(10, 20, 30);

EffectRecord& current(KavrelSession& s) {
    return *s.k().bank(BankId::A)->entry();
}

// Every light of bank A the marker colour.
void paintMarker(KavrelSession& s) {
    Frame& f = s.state().bankA.frame;
    for (int y = 0; y < s.state().matrixRows; ++y)
        for (int x = 0; x < s.state().matrixCols; ++x) f.setRgb(x, y, 10, 20, 30);
}

int countOf(KavrelSession& s, uint32_t c) {
    const Frame& f = s.state().bankA.frame;
    int n = 0;
    for (int y = 0; y < s.state().matrixRows; ++y)
        for (int x = 0; x < s.state().matrixCols; ++x) n += f.rgb(x, y) == c ? 1 : 0;
    return n;
}

TEST(FireTypeBox, ANewFireStartsFromBlackOneChosenAgainKeepsItsFlames) {
    // Flames never hold a component between 1 and 69, so a marker light is
    // one that no rendered frame touched. With every random number 0 each
    // frame updates lights 0, 3, 6, ... of the 144 only.
    KavrelSession s;
    platform::Random& random = s.plugin().desktop().random();
    random.script(std::deque<double>(4000, 0.0));
    paintMarker(s);
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    EXPECT_EQ(countOf(s, kMarker), 0) << "cleared to black first";
    EffectRecord& e = current(s);
    EXPECT_EQ(e.level, 30);

    e.speed = 20;
    paintMarker(s);
    s.state().bankA.dirty = false;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    EXPECT_EQ(countOf(s, kMarker), 96) << "not cleared when chosen again";
    EXPECT_EQ(e.speed, 20);
    EXPECT_EQ(s.form().timerA1.Interval(), 2570);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_TRUE(s.state().bankA.dirty) << "the last frame is shown";
}

TEST(FireTypeBox, WarmsUpWithTenFramesWhereTheListStartsWithEleven) {
    // One white light on a one-light matrix: each frame reseeds, draws the
    // start offset and, when the light is updated, two more numbers.
    KavrelSession s(gridOptions(1, 1));
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    platform::Random& random = s.plugin().desktop().random();
    random.script(std::deque<double>(100, 0.0));  // k = 0: the light is updated
    const uint64_t before = random.draws();
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fire"));
    EXPECT_EQ(random.draws() - before, 30u);
    const uint64_t listed = random.draws();
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(random.draws() - listed, 33u);
}

TEST(FluidTypeBox, RunsOnItsTimerWhateverItsBeatAndKeepsTheBeatFlag) {
    KavrelSession s(gridOptions(20, 10));
    BankState& bank = s.state().bankA;
    bank.stepMax = 9;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fluid"));
    EXPECT_EQ(bank.step, 0) << "a new Fluid starts its step count at 0";
    EffectRecord& e = current(s);
    EXPECT_EQ(e.direction, 5);

    e.beat = 1;
    e.direction = 3;
    e.speed = 50;
    bank.beat = false;
    platform::Random& random = s.plugin().desktop().random();
    uint64_t before = random.draws();
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fluid"));
    // Twenty silent steps and one shown, each feeding a column of ten.
    EXPECT_EQ(random.draws() - before, 21u * 10u);
    EXPECT_EQ(bank.step, 9) << "chosen again: the step count is not reset";
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 1010);
    EXPECT_FALSE(bank.beat);

    e.direction = 1;
    before = random.draws();
    bank.beat = true;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Fluid"));
    EXPECT_EQ(random.draws() - before, 11u * 20u);
    EXPECT_TRUE(bank.beat);

    // The list click starts it by its beat instead.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_FALSE(s.form().timerA1.Enabled());
}

TEST(BeamShowTypeBox, TheTimerFollowsTheBeatAndTheBeamsGoOn) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "BeamShow"));
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 1010);
    EXPECT_EQ(s.plugin().framePixel('A', 0, 0) == platform::rgb(0, 255, 0) ||
                  s.plugin().framePixel('A', 0, 0) == 0u,
              true);

    EffectRecord& e = current(s);
    BankState& bank = s.state().bankA;
    // A short entry (as an old project may hold): one horizontal red beam.
    e.colors = {platform::rgb(255, 0, 0)};
    e.colorValues = {2};
    e.beat = 1;
    bank.laserPos[0] = 3;
    bank.laserDir[0] = 1;
    bank.beat = false;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "BeamShow"));
    ASSERT_EQ(e.colors.size(), 5u);
    ASSERT_EQ(e.colorValues.size(), 5u);
    EXPECT_EQ(e.colors[0], platform::rgb(255, 0, 0)) << "kept";
    EXPECT_EQ(e.colorValues[0], 2);
    EXPECT_EQ(e.colors[1], platform::rgb(255, 0, 0)) << "the defaults' second colour";
    EXPECT_EQ(e.colorValues[1], -1);
    EXPECT_EQ(e.colorValues[4], 0);
    EXPECT_EQ(bank.laserPos[0], 4) << "the sweep goes on from where it was";
    EXPECT_EQ(s.plugin().framePixel('A', 7, 4), platform::rgb(255, 0, 0));
    EXPECT_EQ(s.plugin().framePixel('A', 7, 3), 0u);
    EXPECT_FALSE(s.form().timerA1.Enabled()) << "under beat control";
    EXPECT_TRUE(bank.beat);

    e.beat = 0;
    bank.beat = false;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "BeamShow"));
    EXPECT_EQ(bank.laserPos[0], 5);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_FALSE(bank.beat);

    // A list click starts the beams afresh: the sweep's first frame is row 1.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    EXPECT_EQ(bank.laserPos[0], 1);
}

}  // namespace
}  // namespace kavrel::testing
