#pragma once
// Still pictures drawn from a bank's running entry into the bank frame, for
// the lights x < cols, y < rows (cut to the frame). They neither mix nor set
// the bank's changed flag: callers do. A bank without a valid running entry
// is drawn black. The gradient formulas are described in docs/mixing.md.
#include "core/shared_state.h"

namespace kavrel {

// Gradient directions of an entry's `direction` field.
enum class GradientDirection : int16_t {
    Up = 1,
    UpLeft = 2,
    Left = 3,
    DownLeft = 4,
    Down = 5,
    DownRight = 6,
    Right = 7,
    UpRight = 8,
    CentreOut = 9,
    CentreIn = 10,
};

// Every light takes the entry's color1.
void fillColor(BankState& bank, int cols, int rows);

// color1 to color2 in the entry's direction (1..10). Any other direction
// leaves the frame as it is and gives false.
bool drawGradient(BankState& bank, int cols, int rows);

// Every light takes the entry's painted pixel; lights the picture does not
// cover are black.
void drawPaint(BankState& bank, int cols, int rows);

}  // namespace kavrel
