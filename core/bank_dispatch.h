#pragma once
// The frame loop's work for one bank: its timers' ticks and its beats, each
// dispatched by the running entry's effect type.
namespace kavrel {

class BankContext;

// A tick of the bank's step timer: stops it, then runs one step of the
// running entry (the step restarts the timer when its type runs on).
void stepTick(BankContext& bank);
// A tick of the bank's second timer: stops it, then lets the running entry's
// type act (the stop alone ends a beat lock-out).
void secondTick(BankContext& bank);
// A beat for the bank, by the running entry's type.
void beatStep(BankContext& bank);

}  // namespace kavrel
