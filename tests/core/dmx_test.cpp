#include <gtest/gtest.h>

#include "core/dmx.h"

namespace kavrel {
namespace {

using Changes = std::vector<std::pair<int32_t, uint8_t>>;

TEST(CoreDmx, SendsEveryChannelOnceThenOnlyChanges) {
    SharedState s;  // 12 x 12: addresses 1..432
    s.frameM.setRgb(0, 0, 5, 6, 7);
    const Changes first = collectDmxChanges(s);
    ASSERT_EQ(first.size(), 432u);
    EXPECT_EQ(first[0], (std::pair<int32_t, uint8_t>{1, 5}));
    EXPECT_EQ(first[2], (std::pair<int32_t, uint8_t>{3, 7}));
    EXPECT_EQ(first.back().first, 432);
    EXPECT_EQ(s.dmxSent[2], 6);

    EXPECT_TRUE(collectDmxChanges(s).empty());

    s.frameM.at(3, 2, 1) = 200;  // green of light (3, 2): 3 * (2 * 12 + 3) + 2
    s.frameM.at(0, 0, 0) = 5;    // unchanged value
    EXPECT_EQ(collectDmxChanges(s), (Changes{{83, 200}}));
}

TEST(CoreDmx, LargeGridStopsAt1024InAscendingOrder) {
    SharedState s;
    s.sizeGrid(50, 50);  // 7500 channels
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) s.frameM.setRgb(x, y, 1, 1, 1);
    const Changes changes = collectDmxChanges(s);
    ASSERT_EQ(changes.size(), 1024u);
    for (size_t i = 0; i < changes.size(); ++i)
        EXPECT_EQ(changes[i].first, static_cast<int32_t>(i + 1));
}

TEST(CoreDmx, SkipsUnconfiguredLightsAndBadAddresses) {
    SharedState s;
    s.sizeGrid(2, 1);
    s.frameM.setRgb(0, 0, 10, 20, 30);
    s.frameM.setRgb(1, 0, 40, 50, 60);
    s.cellConfigured.at(1, 0) = false;
    s.channelMap.at(0, 0) = {0, 1025, -3};
    EXPECT_TRUE(collectDmxChanges(s).empty());

    // Two channels on one address: the later one is sent.
    s.channelMap.at(0, 0) = {7, 7, 1024};
    EXPECT_EQ(collectDmxChanges(s), (Changes{{7, 20}, {1024, 30}}));
}

}  // namespace
}  // namespace kavrel
