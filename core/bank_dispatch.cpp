#include "core/bank_dispatch.h"

#include "core/bank_context.h"
#include "core/effect.h"

namespace kavrel {

namespace {

Effect* runningEffect(BankContext& bank) {
    const EffectRecord* entry = bank.entry();
    return entry ? bank.services().effects().find(entry->type) : nullptr;
}

}  // namespace

void stepTick(BankContext& bank) {
    bank.stepTimer().setEnabled(false);
    if (Effect* effect = runningEffect(bank)) effect->step(bank);
}

void secondTick(BankContext& bank) {
    bank.secondTimer().setEnabled(false);
    if (Effect* effect = runningEffect(bank)) effect->secondTick(bank);
}

void beatStep(BankContext& bank) {
    if (Effect* effect = runningEffect(bank)) effect->beat(bank);
}

}  // namespace kavrel
