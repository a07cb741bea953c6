#include "effects/ticker/font_definition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kavrel {
namespace {

TEST(PixelFont, TableHoldsNinetyEightGlyphsWithTheirWidths) {
    FontDefinition font;
    EXPECT_EQ(font.fontData(0, 0), 0) << "empty before initFont";
    font.initFont();
    std::map<int, int> widths;
    for (int g = 0; g < FontDefinition::kGlyphCount; ++g) {
        ++widths[font.fontData(g, 0)];
        for (int r = 1; r <= 5; ++r) EXPECT_LE(font.fontData(g, r), 31) << g;
        EXPECT_EQ(font.fontData(g, 6), 0);
    }
    EXPECT_EQ(widths, (std::map<int, int>{{1, 8}, {2, 6}, {3, 23}, {4, 51}, {5, 10}}));
    for (int g = 98; g <= 100; ++g)
        for (int r = 0; r < 7; ++r) EXPECT_EQ(font.fontData(g, r), 0);
    EXPECT_EQ(font.fontData(-1, 0), 0);
    EXPECT_EQ(font.fontData(0, 7), 0);

    // "A": width 4, rows 6, 9, 9, 15, 9.
    const int a[] = {4, 6, 9, 9, 15, 9};
    for (int r = 0; r < 6; ++r) EXPECT_EQ(font.fontData(0, r), a[r]);
    // "#" lights a fifth column in rows 2 and 4.
    EXPECT_EQ(font.fontData(85, 0), 4);
    EXPECT_EQ(font.fontData(85, 2), 31);
    EXPECT_EQ(font.fontData(85, 4), 31);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(font.fontData(37, r), font.fontData(38, r));

    FontDefinition again;
    again.initFont();
    again.initFont();
    for (int g = 0; g < FontDefinition::kSlots; ++g)
        for (int r = 0; r < FontDefinition::kRows; ++r)
            EXPECT_EQ(again.fontData(g, r), font.fontData(g, r));
}

TEST(PixelFont, LetterIndexMatchesExactlyOneCharacter) {
    const std::map<std::string, int> expected{
        {"A", 0},         {"a", 40},        {"Z", 25},        {"z", 65},        {"0", 26},
        {"9", 35},        {" ", 39},        {"\"", 74},       {"|", 87},        {"\\", 97},
        {"$", 96},        {"\xC3\x84", 36}, {"\xC3\xA4", 80}, {"\xC3\x96", 37}, {"\xC3\x9C", 38},
        {"\xC3\xB6", 81}, {"\xC3\xBC", 82}, {"@", 79},        {"_", 95},        {"%", 83}};
    for (const auto& [text, index] : expected)
        EXPECT_EQ(FontDefinition::letterIndex(text), index) << text;
    // Nothing, too much or no glyph: the "A".
    for (const char* s :
         {"", "AB", "~", "^", "`", "\xC3\x9F", "\xC3\xA9", "\xCC\x88", "A\xCC\x88", "\xFF", "\xC3"})
        EXPECT_EQ(FontDefinition::letterIndex(s), 0) << s;
}

}  // namespace
}  // namespace kavrel
