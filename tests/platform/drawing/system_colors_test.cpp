#include "platform/drawing/system_colors.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(PlatformSystemColors, KnownIndexesGiveTheirColoursUnknownGiveBlack) {
    EXPECT_EQ(sysColor(5), 0x00FFFFFFu);   // window
    EXPECT_EQ(sysColor(8), 0x00000000u);   // window text
    EXPECT_EQ(sysColor(15), 0x00F0F0F0u);  // button face
    EXPECT_EQ(sysColor(13), rgb(0, 120, 215));
    EXPECT_EQ(sysColor(30), rgb(240, 240, 240));
    EXPECT_EQ(sysColor(31), 0u);
    EXPECT_EQ(sysColor(0xFFFFFFFFu), 0u);
    for (uint32_t i = 0; i <= 30; ++i) EXPECT_EQ(sysColor(i) & 0xFF000000u, 0u) << i;
}

TEST(PlatformSystemColors, TopByteSelectsTheSystemColour) {
    EXPECT_EQ(translateColor(0x8000000Fu), 0x00F0F0F0u);
    EXPECT_EQ(translateColor(0x01000005u), 0x00FFFFFFu);
    EXPECT_EQ(translateColor(0x80FFFFFFu), 0u);  // unknown index
    EXPECT_EQ(translateColor(0x0000000Fu), 0x0000000Fu);
    EXPECT_EQ(translateColor(0x00FFFFFFu), 0x00FFFFFFu);
}

}  // namespace
}  // namespace platform
