#pragma once
// What each effect type does on the occasions the main window drives: a
// selection in the bank list, a tick of the bank's step timer or second
// timer, a beat, and the edit button. Each type plugs in its own handlers;
// an occasion without a handler does nothing for that type.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "core/effect_record.h"

namespace kavrel {

struct Bank;

inline constexpr int kEffectTypeCount = 10;
inline constexpr std::array<std::string_view, kEffectTypeCount> kEffectTypeNames{
    "Color",        "Gradient", "Paint", "Image",  "Color Change",
    "Color Scroll", "Fire",     "Fluid", "Ticker", "BeamShow"};

struct EffectKind {
    // Renders the bank's running entry and starts its timers (list selection).
    std::function<void(Bank&)> start;
    // One step; the step timer was stopped before and the handler restarts it
    // when its type runs on.
    std::function<void(Bank&)> step;
    // A tick of the second timer, which was stopped before.
    std::function<void(Bank&)> secondTick;
    // A beat while the bank's beat flag is set.
    std::function<void(Bank&)> beat;
    // Fills the type's editor from the running entry and shows it.
    std::function<void(Bank&)> edit;
};

class EffectTable {
  public:
    // The handlers of an effect-type code; null outside 0..9.
    const EffectKind* find(int64_t type) const {
        if (type < 0 || type >= kEffectTypeCount) return nullptr;
        return &kinds_[static_cast<size_t>(type)];
    }
    EffectKind& kind(EffectType type) { return kinds_[static_cast<size_t>(type)]; }

  private:
    std::array<EffectKind, kEffectTypeCount> kinds_;
};

}  // namespace kavrel
