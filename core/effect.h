#pragma once
// An effect type as the plug-in drives it. Each type is a module of its own
// (effects/<type>/) that implements the occasions it takes part in; an
// occasion it does not implement does nothing for that type.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/effect_record.h"

namespace kavrel {

class BankContext;
struct BankState;

inline constexpr int kEffectTypeCount = 10;
inline constexpr std::array<std::string_view, kEffectTypeCount> kEffectTypeNames{
    "Color",        "Gradient", "Paint", "Image",  "Color Change",
    "Color Scroll", "Fire",     "Fluid", "Ticker", "BeamShow"};

// Shown for an effect-type code outside 0..9.
inline constexpr const char* kValueNotAllowed = "Wert nicht erlaubt";

class Effect {
  public:
    virtual ~Effect() = default;

    // The main window is being loaded, before its type boxes are filled.
    virtual void mainWindowLoad() {}
    // An entry of this type becomes its bank's running entry (a list click, a
    // type change, a project load): take what the bank keeps of it, such as
    // the ticker's font parts. start() does this itself.
    virtual void takeEntrySettings(BankState& /*bank*/, EffectRecord& /*entry*/) {}
    // The bank list chose the bank's running entry of this type: render it
    // and start its timers. Both bank timers were stopped before.
    virtual void start(BankContext&) {}
    // A tick of the bank's step timer, which was stopped before; the type
    // restarts it when it runs on.
    virtual void step(BankContext&) {}
    // A tick of the bank's second timer, which was stopped before.
    virtual void secondTick(BankContext&) {}
    // A beat while the bank's beat flag is set.
    virtual void beat(BankContext&) {}
    // The edit button: fill the type's editor from the running entry and
    // show it.
    virtual void edit(BankContext&) {}
    // Copies into `to` the fields of `from` that pasting takes; name and type
    // are the caller's. `cols` x `rows` is the grid in force.
    virtual void copyForPaste(const EffectRecord& /*from*/, EffectRecord& /*to*/, int /*cols*/,
                              int /*rows*/) const {}
    // A variable the type keeps to itself, by name, for scripts; nullopt
    // when it has none of that name.
    virtual std::optional<std::string> readVar(std::string_view /*name*/) const {
        return std::nullopt;
    }
};

// The effect types of one plug-in instance, by type code.
class EffectRegistry {
  public:
    // Installs (or replaces) the module of a type.
    void add(EffectType type, std::unique_ptr<Effect> effect) {
        effects_[static_cast<size_t>(type)] = std::move(effect);
    }
    // The module of a type code; null outside 0..9 or when none is installed.
    Effect* find(int64_t type) const {
        if (type < 0 || type >= kEffectTypeCount) return nullptr;
        return effects_[static_cast<size_t>(type)].get();
    }

  private:
    std::array<std::unique_ptr<Effect>, kEffectTypeCount> effects_;
};

}  // namespace kavrel
