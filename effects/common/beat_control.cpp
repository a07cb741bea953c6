#include "effects/common/beat_control.h"

#include "core/bank_context.h"

namespace kavrel {

void setBeatControl(BankContext& bank, EffectRecord& entry, bool ticked, bool resume) {
    if (ticked) {
        bank.stopTimers();
        bank.secondTimer().setInterval(kBeatLockOutMs);
        entry.beat = 1;
        bank.state().beat = true;
    } else {
        bank.state().beat = false;
        entry.beat = 0;
        if (resume) bank.stepTimer().setEnabled(true);
    }
}

}  // namespace kavrel
