#include "platform/text/hidden_characters.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/text/utf8.h"

namespace platform {

namespace {

struct Range {
    char32_t first, last;
};

// General category Cf, Unicode 15.1.
constexpr std::array<Range, 21> kFormatCharacters{{
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
}};

constexpr std::array<Range, 4> kBidiControls{{
    {0x061C, 0x061C},
    {0x200E, 0x200F},
    {0x202A, 0x202E},
    {0x2066, 0x2069},
}};

template <size_t N>
bool inRanges(const std::array<Range, N>& ranges, char32_t cp) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [cp](const Range& r) { return cp >= r.first && cp <= r.last; });
}

}  // namespace

bool isFormatCharacter(char32_t cp) {
    return inRanges(kFormatCharacters, cp);
}

bool isBidiControl(char32_t cp) {
    return inRanges(kBidiControls, cp);
}

bool isNoBreakSpace(char32_t cp) {
    return cp == 0x00A0 || cp == 0x2007 || cp == 0x202F;
}

std::string hiddenCharacterNote(std::string_view utf8) {
    bool space = false, bidi = false, format = false;
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Sequence seq = utf8SequenceAt(utf8, i);
        i += seq.length ? seq.length : seq.brokenLength;
        if (seq.length == 0) continue;
        space = space || isNoBreakSpace(seq.cp);
        bidi = bidi || isBidiControl(seq.cp);
        format = format || (isFormatCharacter(seq.cp) && !isBidiControl(seq.cp));
    }
    std::vector<const char*> kinds;
    if (space) kinds.push_back("a no-break space");
    if (bidi) kinds.push_back("a bidirectional control");
    if (format) kinds.push_back("an invisible format character");
    if (kinds.empty()) return "";
    std::string note = " (it holds ";
    for (size_t k = 0; k < kinds.size(); ++k)
        note += std::string(k == 0 ? "" : k + 1 == kinds.size() ? " and " : ", ") + kinds[k];
    return note + ")";
}

}  // namespace platform
