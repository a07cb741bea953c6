#include "platform/text/hidden_characters.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace platform {
namespace {

TEST(PlatformHiddenCharacters, FormatCharactersAreUnicodesCategoryCfAndNoMore) {
    for (char32_t cp : {0x00AD, 0x061C, 0x200B, 0x200D, 0x200E, 0x200F, 0x202A, 0x202E, 0x2060,
                        0x2066, 0x2069, 0x206F, 0xFEFF, 0xFFF9, 0xE0001, 0xE007F})
        EXPECT_TRUE(isFormatCharacter(cp)) << std::hex << static_cast<uint32_t>(cp);
    // Neighbours of the ranges, blanks and ordinary letters.
    for (char32_t cp : {0x0020, 0x00A0, 0x00AC, 0x00AE, 0x200A, 0x2010, 0x2029, 0x202F, 0x2065,
                        0x2070, 0xFEFE, 0xFFFC, 0xFFFD, 0xE0000, 0xE0080, 0x0041, 0x00E4})
        EXPECT_FALSE(isFormatCharacter(cp)) << std::hex << static_cast<uint32_t>(cp);
    for (char32_t cp : {0x061C, 0x200E, 0x200F, 0x202A, 0x202E, 0x2066, 0x2069})
        EXPECT_TRUE(isBidiControl(cp)) << std::hex << static_cast<uint32_t>(cp);
    for (char32_t cp : {0x200B, 0x202F, 0x2065, 0x206A, 0xFEFF})
        EXPECT_FALSE(isBidiControl(cp)) << std::hex << static_cast<uint32_t>(cp);
    for (char32_t cp : {0x00A0, 0x2007, 0x202F})
        EXPECT_TRUE(isNoBreakSpace(cp)) << std::hex << static_cast<uint32_t>(cp);
    for (char32_t cp : {0x0020, 0x2002, 0x200B, 0x3000})
        EXPECT_FALSE(isNoBreakSpace(cp)) << std::hex << static_cast<uint32_t>(cp);
}

TEST(PlatformHiddenCharacters, TheNoteNamesEachKindTheTextHolds) {
    EXPECT_EQ(hiddenCharacterNote("click MatrixForm.addA"), "");
    EXPECT_EQ(hiddenCharacterNote("Grün \xFF\xC2"), "");  // no UTF-8 is no hidden character
    EXPECT_EQ(hiddenCharacterNote("a\u00a0b\u202fc"), " (it holds a no-break space)");
    EXPECT_EQ(hiddenCharacterNote("\u202eabc"), " (it holds a bidirectional control)");
    EXPECT_EQ(hiddenCharacterNote("a\u200bb"), " (it holds an invisible format character)");
    EXPECT_EQ(hiddenCharacterNote("\u2066x\u00a0y\ufeff"),
              " (it holds a no-break space, a bidirectional control and an invisible format "
              "character)");
}

}  // namespace
}  // namespace platform
