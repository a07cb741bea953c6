#pragma once
// The key behind a typed character, for KeyDown: a user's key action names the
// character typed (KeyPress's code); KeyDown reports the key that was pressed
// and the shift state that typed it, as on a US keyboard.
namespace platform {

// Shift-state bits of KeyDown (and of mouse events).
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

struct KeyStroke {
    int keyCode = 0;  // 0: no key of the US layout types this character
    int shift = 0;
};

// Letters give their capital's code (65..90), Shift for capitals; digits,
// Backspace (8), Tab (9), Enter (13), Esc (27) and Space (32) their own code;
// punctuation its key's code (e.g. '.' and '>' 190); 1..26 otherwise Ctrl
// with a letter.
KeyStroke keyStrokeFor(int keyAscii);

}  // namespace platform
