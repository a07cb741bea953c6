#include <gtest/gtest.h>

#include "core/shared_state.h"

namespace kavrel {
namespace {

TEST(CoreSharedState, FreshStateHasDefaultGrid) {
    SharedState s;
    // Usable without a configuration: every array sized for 12 x 12, nothing sent yet.
    EXPECT_EQ(s.frameM.cols(), 12);
    EXPECT_EQ(s.bankB.frame.rows(), 12);
    EXPECT_EQ(s.channelMap.at(11, 11)[2], 432);
    EXPECT_EQ(s.dmxSent[1024], -1);
    EXPECT_EQ(&s.bank(true), &s.bankB);
}

TEST(CoreSharedState, DefaultChannelMapRowByRow) {
    SharedState s;
    s.sizeGrid(5, 3);
    EXPECT_EQ(s.channelMap.at(0, 0), (LightChannels{1, 2, 3}));
    EXPECT_EQ(s.channelMap.at(1, 0), (LightChannels{4, 5, 6}));
    EXPECT_EQ(s.channelMap.at(0, 1), (LightChannels{16, 17, 18}));
    EXPECT_EQ(s.channelMap.at(4, 2), (LightChannels{43, 44, 45}));
    EXPECT_TRUE(s.cellConfigured.get(4, 2, false));
}

TEST(CoreSharedState, SizeGridKeepsRecordsAndResizesFrames) {
    SharedState s;
    EffectRecord rec;
    rec.name = "painted";
    rec.pixels.assign(11, 11, 0u);
    rec.pixels.at(3, 4) = 0x123456;
    s.bankA.eff.push_back(rec);
    s.bankA.effOk.push_back(true);
    s.bankA.effCount = 1;
    s.bankA.curEff = 0;
    s.fadeCount = 2;
    s.bankB.frame.setRgb(1, 1, 9, 9, 9);
    s.frameM.setRgb(2, 2, 9, 9, 9);
    s.mixMap.at(0, 0) = 1.0f;

    s.sizeGrid(20, 8);
    EXPECT_EQ(s.matrixCols, 20);
    EXPECT_EQ(s.matrixRows, 8);
    ASSERT_EQ(s.bankA.eff.size(), 1u);
    EXPECT_EQ(s.bankA.eff[0].name, "painted");
    EXPECT_EQ(s.bankA.effCount, 1);
    EXPECT_EQ(s.fadeCount, 2);
    // Pixels grow to the new width and keep their rows beyond the new height.
    EXPECT_EQ(s.bankA.eff[0].pixels.cols(), 20);
    EXPECT_EQ(s.bankA.eff[0].pixels.rows(), 11);
    EXPECT_EQ(s.bankA.eff[0].pixels.at(3, 4), 0x123456u);

    for (const Frame* f : {&s.bankA.frame, &s.bankB.frame, &s.bankA.shadow, &s.frameM, &s.shadowM,
                           &s.dxSimDrawn, &s.extSimSent}) {
        EXPECT_EQ(f->cols(), 20);
        EXPECT_EQ(f->rows(), 8);
    }
    EXPECT_EQ(s.bankB.frame.rgb(1, 1), 0u);
    EXPECT_EQ(s.frameM.rgb(2, 2), 0u);
    EXPECT_EQ(s.mixMap.at(0, 0), 0.0f);
    EXPECT_TRUE(s.mixMap.contains(20, 8));
}

TEST(CoreSharedState, SizeGridClampsToOneToFifty) {
    SharedState s;
    s.sizeGrid(0, -7);
    EXPECT_EQ(s.matrixCols, 1);
    EXPECT_EQ(s.matrixRows, 1);
    s.sizeGrid(51, 32767);
    EXPECT_EQ(s.matrixCols, 50);
    EXPECT_EQ(s.matrixRows, 50);
    EXPECT_EQ(s.channelMap.at(49, 49)[2], 7500);
}

}  // namespace
}  // namespace kavrel
