#pragma once
// An effect type whose occasions run the test's own functions, installed in
// place of a type's module to watch what the plug-in drives.
#include <functional>
#include <memory>

#include "core/bank_context.h"
#include "core/effect.h"

namespace kavrel::testing {

struct ScriptedEffect : Effect {
    using Handler = std::function<void(BankContext&)>;
    Handler onStart, onStep, onSecondTick, onBeat, onEdit;

    void start(BankContext& b) override { run(onStart, b); }
    void step(BankContext& b) override { run(onStep, b); }
    void secondTick(BankContext& b) override { run(onSecondTick, b); }
    void beat(BankContext& b) override { run(onBeat, b); }
    void edit(BankContext& b) override { run(onEdit, b); }

  private:
    static void run(const Handler& h, BankContext& b) {
        if (h) h(b);
    }
};

inline ScriptedEffect& installScripted(EffectRegistry& registry, EffectType type) {
    auto effect = std::make_unique<ScriptedEffect>();
    ScriptedEffect& ref = *effect;
    registry.add(type, std::move(effect));
    return ref;
}

}  // namespace kavrel::testing
