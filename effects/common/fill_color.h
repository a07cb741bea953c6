#pragma once
// The bank filled with its running entry's color1, shared by every type that
// shows one colour over the whole bank.
#include "core/shared_state.h"

namespace kavrel {

class BankContext;

// Paints the bank's running entry's color1 into its frame; a bank without a
// valid running entry is painted black. Neither marks nor mixes.
void renderColor(BankState& bank, int cols, int rows);
// fillColorA / fillColorB: renders, marks the bank changed and mixes.
void fillColor(BankContext& bank);

}  // namespace kavrel
