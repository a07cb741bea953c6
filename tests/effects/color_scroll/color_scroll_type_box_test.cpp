// Color Scroll chosen in the type box: a new entry is reported and left
// standing; one chosen again has its widths sized to its colours, its strip
// rebuilt from position 0 and is started by its beat setting.
#include <gtest/gtest.h>

#include "core/bank_context.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);

class ScrollTypeBox : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color Scroll"));
        ASSERT_EQ(s.messages().back(), "ColorScroll not configured ! Please edit effect !");
    }
    EffectRecord& entry() { return *s.k().bank(BankId::A)->entry(); }
    BankState& bank() { return s.state().bankA; }
    void chooseAgain() { ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Color Scroll")); }

    KavrelSession s;
};

TEST_F(ScrollTypeBox, ANewEntryKeepsThePictureAndOneWithoutColoursIsReportedAgain) {
    EXPECT_EQ(s.plugin().framePixel('A', 4, 4), kRed) << "the bank keeps its last picture";
    EXPECT_FALSE(s.form().timerA1.Enabled());
    const size_t shown = s.messages().size();
    entry().colorValues = {4, 5, 6};
    chooseAgain();
    EXPECT_EQ(s.messages().size(), shown + 1);
    EXPECT_EQ(s.messages().back(), "ColorScroll not configured ! Please edit effect !");
    EXPECT_EQ(entry().colorValues, (std::vector<int32_t>{4})) << "sized to no colours";
    EXPECT_FALSE(s.form().timerA1.Enabled());
}

TEST_F(ScrollTypeBox, ChosenAgainSizesTheWidthsRebuildsAndStartsByItsBeat) {
    EffectRecord& e = entry();
    e.colorCount = 2;
    e.colors = {kRed, kBlue, 0};
    e.colorValues = {2};  // shorter than its colours: the missing width is 0
    e.speed = 0;
    bank().colIdx = 5;
    bank().stepMax = 3;
    chooseAgain();
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{2, 0, 0}));
    EXPECT_EQ(bank().stripLen, 2);
    EXPECT_EQ(bank().colIdx, 0);
    EXPECT_EQ(bank().step, 3) << "the diagonal front is not reset here";
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 8010);
    EXPECT_FALSE(bank().beat);

    e.colorValues = {1, 1, 9, 9};  // longer: cut to its colours and the spare
    e.beat = 1;
    chooseAgain();
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{1, 1, 9}));
    EXPECT_EQ(bank().stripLen, 2);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    EXPECT_TRUE(bank().beat);
    // The beats step it.
    e.direction = 5;
    s.k().runBeat();
    EXPECT_EQ(s.plugin().framePixel('A', 3, 0), kRed);
    EXPECT_EQ(bank().colIdx, 1);
}

}  // namespace
}  // namespace kavrel::testing
