// The simulator stream's records: bytes, order and change-only sending.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/frame.h"
#include "preview/sim_stream.h"

namespace kavrel {
namespace {

std::string burst(const Frame& frameM, Frame& sent, int cols, int rows) {
    std::string out;
    sendChangedLights(frameM, sent, cols, rows,
                      [&](int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
                          appendRecord(out, x, y, r, g, b);
                          return true;
                      });
    return out;
}

TEST(SimStreamTest, AllRedGridGivesOneLittleEndianRecordPerLightColumnByColumn) {
    Frame frameM(12, 12), sent(12, 12);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) frameM.setRgb(x, y, 255, 0, 0);
    const std::string out = burst(frameM, sent, 12, 12);
    ASSERT_EQ(out.size(), 144u * 11u);
    // Light (1, 0) is the 13th record: x outer, y inner.
    const std::string expected("\x01\x00\x00\x00\x00\x00\x00\x00\xFF\x00\x00", 11);
    EXPECT_EQ(out.substr(12 * 11, 11), expected);
    for (size_t i = 0; i < 144; ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(out.data() + i * 11);
        EXPECT_EQ(p[0], i / 12);
        EXPECT_EQ(p[4], i % 12);
        EXPECT_EQ(p[8], 255);
    }
    EXPECT_EQ(sent.rgb(11, 11), frameM.rgb(11, 11));
    EXPECT_TRUE(burst(frameM, sent, 12, 12).empty()) << "nothing changed since the last burst";
}

TEST(SimStreamTest, BlackAndUnchangedLightsAreNotSentUntilMarkedUnsent) {
    Frame frameM(3, 2), sent(3, 2);
    EXPECT_TRUE(burst(frameM, sent, 3, 2).empty()) << "black since sizing";
    frameM.setRgb(2, 1, 10, 20, 30);
    sent.setRgb(2, 1, 10, 20, 30);  // changed and back to what was sent
    EXPECT_TRUE(burst(frameM, sent, 3, 2).empty());

    markAllUnsent(sent, 3, 2);
    const std::string all = burst(frameM, sent, 3, 2);
    ASSERT_EQ(all.size(), 6u * 11u) << "every light, black ones too";
    EXPECT_EQ(static_cast<unsigned char>(all[5 * 11 + 8]), 10);
    EXPECT_TRUE(burst(frameM, sent, 3, 2).empty());
}

TEST(SimStreamTest, ALightThatCouldNotBeHandedOverStaysUnsent) {
    Frame frameM(2, 2), sent(2, 2);
    frameM.setRgb(0, 0, 1, 1, 1);
    frameM.setRgb(1, 1, 2, 2, 2);
    int calls = 0;
    const bool ok = sendChangedLights(
        frameM, sent, 2, 2,
        [&](int32_t, int32_t, uint8_t, uint8_t, uint8_t) { return ++calls == 1; });
    EXPECT_FALSE(ok);
    EXPECT_EQ(sent.rgb(0, 0), frameM.rgb(0, 0));
    EXPECT_EQ(sent.rgb(1, 1), 0u);
    EXPECT_EQ(burst(frameM, sent, 2, 2).size(), 11u) << "the failed light goes next time";
}

TEST(SimStreamTest, FullFiftyByFiftyBurstIsTwentyFiveHundredRecords) {
    Frame frameM(50, 50), sent(50, 50);
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 50; ++y) frameM.setRgb(x, y, 1, 2, 3);
    const std::string out = burst(frameM, sent, 50, 50);
    EXPECT_EQ(out.size(), 27500u);
    EXPECT_EQ(static_cast<unsigned char>(out[27500 - 11]), 49);
    EXPECT_EQ(static_cast<unsigned char>(out[27500 - 7]), 49);
}

}  // namespace
}  // namespace kavrel
