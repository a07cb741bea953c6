// Choosing Paint in a bank's type box: the picture grows to the grid and, on
// a real change of type, takes what the bank shows.
#include <gtest/gtest.h>

#include "core/bank_context.h"
#include "effects/paint/paint_effect.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

TEST(PaintType, AChangeOfTypeTakesTheBankFrameAndKeepingTheTypeKeepsThePicture) {
    KavrelSession s(gridOptions(5, 4));
    BankContext& bank = *s.k().bank(BankId::A);
    EffectRecord& entry = s.state().bankA.eff[0];
    entry.pixels.assign(2, 2, 0u);  // from a smaller grid
    entry.pixels.set(1, 1, platform::rgb(0, 255, 0));

    // Unchanged type: the picture is kept, grown black, and drawn.
    choosePaint(bank, false);
    EXPECT_EQ(entry.pixels.get(1, 1, 9u), platform::rgb(0, 255, 0));
    EXPECT_EQ(entry.pixels.get(4, 3, 9u), 0u);
    EXPECT_EQ(*s.plugin().framePixel('A', 1, 1), platform::rgb(0, 255, 0));
    EXPECT_EQ(*s.plugin().framePixel('A', 0, 0), 0u);

    // A change of type: the bank's frame, here half red, becomes the picture.
    for (int x = 0; x < 5; ++x) s.state().bankA.frame.setRgb(x, 2, 255, 0, 0);
    choosePaint(bank, true);
    EXPECT_EQ(entry.pixels.get(3, 2, 9u), platform::rgb(255, 0, 0));
    EXPECT_EQ(entry.pixels.get(1, 1, 9u), platform::rgb(0, 255, 0));
    EXPECT_EQ(*s.plugin().framePixel('A', 4, 2), platform::rgb(255, 0, 0));
}

}  // namespace
}  // namespace kavrel::testing
