#pragma once
// The transition from color2 to color1 of a Color Change entry, one step per
// tick of the bank's second timer.
namespace kavrel {

class BankContext;

// Sets up the entry's transition (steps, interval, cell order) and starts
// the second timer.
void armTransition(BankContext& bank);
// One tick of the second timer (already stopped): the next step, or the end
// of the transition. Without an armed transition the stop was all (the beat
// lock-out); a transition whose state no longer fits ends at once.
void transitionTick(BankContext& bank);

}  // namespace kavrel
