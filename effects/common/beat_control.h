#pragma once
// The beat box that several editors share. Ticked, the bank waits for beats:
// both its timers stop, the second timer gets the 50 ms beat lock-out, and
// the entry and the bank's beat flag say so. Unticked, the flags clear and
// the step timer runs again when `resume` says the entry can run.
#include "core/effect_record.h"

namespace kavrel {

class BankContext;

inline constexpr int kBeatLockOutMs = 50;

void setBeatControl(BankContext& bank, EffectRecord& entry, bool ticked, bool resume);

}  // namespace kavrel
