#include "platform/windows/key_codes.h"

#include <string_view>

namespace platform {

namespace {

// The punctuation keys of a US keyboard: the character typed without and with
// Shift, and the key's code.
struct PunctuationKey {
    char plain, shifted;
    int code;
};
constexpr PunctuationKey kPunctuation[] = {
    {';', ':', 186},  {'=', '+', 187}, {',', '<', 188},  {'-', '_', 189},
    {'.', '>', 190},  {'/', '?', 191}, {'`', '~', 192},  {'[', '{', 219},
    {'\\', '|', 220}, {']', '}', 221}, {'\'', '"', 222},
};
// What Shift with the digit keys 0..9 types.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

}  // namespace

KeyStroke keyStrokeFor(int keyAscii) {
    const int c = keyAscii;
    if (c >= 'a' && c <= 'z') return {c - 'a' + 'A', 0};
    if (c >= 'A' && c <= 'Z') return {c, kShiftMask};
    if (c >= '0' && c <= '9') return {c, 0};
    if (c == 8 || c == 9 || c == 13 || c == 27 || c == 32) return {c, 0};
    if (c >= 1 && c <= 26) return {c - 1 + 'A', kCtrlMask};
    if (c > 32 && c < 127) {
        const auto ch = static_cast<char>(c);
        if (const size_t d = kShiftedDigits.find(ch); d != std::string_view::npos)
            return {'0' + static_cast<int>(d), kShiftMask};
        for (const PunctuationKey& k : kPunctuation) {
            if (ch == k.plain) return {k.code, 0};
            if (ch == k.shifted) return {k.code, kShiftMask};
        }
    }
    return {};
}

}  // namespace platform
