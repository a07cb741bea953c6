#include "effects/ticker/font_descriptor.h"

#include <gtest/gtest.h>

#include <utility>

namespace kavrel {
namespace {

struct Fonts {
    std::string name;
    int16_t size, italic, bold, weight, strike;
    bool operator==(const Fonts&) const = default;
};

Fonts fontsOf(const BankState& b) {
    return {b.fontName, b.fontSize, b.fontItalic, b.fontBold, b.fontWeight, b.fontStrike};
}

BankState preset() {
    BankState b('A');
    b.fontName = "Old";
    b.fontSize = 9;
    b.fontItalic = 1;
    b.fontBold = 1;
    b.fontWeight = 1;
    b.fontStrike = 1;
    return b;
}

TEST(FontDescriptor, SixPartsFillEveryVariableStrikeIncluded) {
    BankState b = preset();
    readFontDescriptor("Arial:12:0:1:0:0", b);
    EXPECT_EQ(fontsOf(b), (Fonts{"Arial", 12, 0, 1, 0, 0}));
    EXPECT_EQ(makeFontDescriptor("Arial", 10, false, true, false, false), "Arial:10:0:1:0:0");
    EXPECT_EQ(makeFontDescriptor("X", 7, true, false, true, true), "X:7:1:0:1:1");
}

TEST(FontDescriptor, ShortOrBrokenDescriptorsKeepWhatTheyCannotGive) {
    const std::pair<const char*, Fonts> cases[] = {
        {"Times", {"Times", 9, 1, 1, 1, 1}},
        {"Times:14", {"Times", 9, 1, 1, 1, 1}},     // two parts: only the face
        {"Times:14:0", {"Times", 14, 0, 1, 1, 1}},  // three parts: what exists
        {"Times:x:0:y:0", {"Times", 9, 0, 1, 0, 1}},
        {"Times:12.5:0:0:0:0", {"Times", 9, 0, 0, 0, 0}},
        {"Times:99999:0:0:0:0", {"Times", 9, 0, 0, 0, 0}},
        {"Times: 12:0:0:0:0", {"Times", 9, 0, 0, 0, 0}},
        {"Ti:mes:20:1:0:0:1", {"Ti", 9, 20, 1, 0, 0}},  // part 0 is the face, always
        {"", {"", 9, 1, 1, 1, 1}},
        {":::::::", {"", 9, 1, 1, 1, 1}},
        {"F:-32768:1:0:0:0", {"F", -32768, 1, 0, 0, 0}},
    };
    for (const auto& [text, want] : cases) {
        BankState b = preset();
        readFontDescriptor(text, b);
        EXPECT_EQ(fontsOf(b), want) << text;
    }
}

TEST(FontDescriptor, SelectedEntriesMarkThePixelFontAndResolveWindowsFont) {
    BankState b = preset();
    EffectRecord e;
    e.font = "5-point";
    takeEntryFont(e, b);
    EXPECT_EQ(b.fontSize, -1);
    EXPECT_EQ(e.font, "5-point");

    e.font = "WindowsFont";
    takeEntryFont(e, b);
    EXPECT_EQ(b.fontSize, -1);
    EXPECT_EQ(e.font, "5-point");

    e.font = "DejaVu Sans:16:0:0:0:1";
    takeEntryFont(e, b);
    EXPECT_EQ(fontsOf(b), (Fonts{"DejaVu Sans", 16, 0, 0, 0, 1}));
}

}  // namespace
}  // namespace kavrel
