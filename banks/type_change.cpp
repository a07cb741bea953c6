#include "banks/type_change.h"

#include <cstdint>

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/effect.h"

namespace kavrel {

void prepareBankStart(BankContext& bank) {
    BankState& s = bank.state();
    s.step = s.stepMax;
    s.colorFadeRunning = false;
    bank.stopTimers();
    bank.shared().editBankB = bank.isB() ? 1 : 0;
    if (const EffectRecord* entry = bank.entry();
        entry != nullptr && entry->type == static_cast<int16_t>(EffectType::ColorChange))
        s.pendingFade = entry->fadeMode;
}

void changeType(BankContext& bank) {
    prepareBankStart(bank);
    const int t = bank.typeBox().ListIndex();
    EffectRecord* entry = bank.entry();
    if (t < 0 || t >= kEffectTypeCount || entry == nullptr) {
        bank.showMessage(kValueNotAllowed);
        return;
    }
    const bool changed = entry->type != t;
    Effect* effect = bank.services().effects().find(t);
    if (changed && effect != nullptr)
        effect->setDefaults(*entry, bank.state(), bank.cols(), bank.rows());
    entry->type = static_cast<int16_t>(t);
    if (entry->type == static_cast<int16_t>(EffectType::ColorChange))
        bank.state().pendingFade = entry->fadeMode;
    // An editor open on this entry for its old type lets go of it.
    if (changed) bank.services().editors().entriesChanged();
    if (effect != nullptr) effect->choose(bank, changed);
}

}  // namespace kavrel
