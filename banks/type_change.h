#pragma once
// Giving a bank's running entry a type from the bank's type box, with the
// type's defaults when the type really changes, and starting it.
namespace kavrel {

class BankContext;

// What a type change and a list click do first: the step counter at its
// end, a running colour transition cut off, both bank timers stopped, the
// editors pointed at this bank; a Color Change entry takes up its own fade
// mode for its next transition.
void prepareBankStart(BankContext& bank);

// typeA_Click / typeB_Click: the type chosen in the bank's type box. An
// index outside 0..9 (nothing chosen) is reported and changes nothing.
void changeType(BankContext& bank);

}  // namespace kavrel
