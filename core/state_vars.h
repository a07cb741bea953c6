#pragma once
// Reading the shared state by name, for the script command `expect var NAME`.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shared_state.h"

namespace kavrel {

// The value of a state variable by its name: scalars such as `mixPos`,
// `curEffA`, `fadeCount`; per-bank names carry the suffix A or B. Arrays take
// their indexes in parentheses (`effOkA(0)`, `mixMap(3,4)`, `frameM(x,y,c)`)
// and records a field after a dot (`effB(2).name`, `effA(0).colors(1)`,
// `fadeList(0).time`, `copyBuffer.name`).
// Whole numbers print plainly, doubles with up to 15 significant digits and
// singles with up to 7 (with '.'), Booleans as True/False, colours as signed
// 32-bit numbers, text as it is. An unknown name or an index out of range
// gives nullopt.
std::optional<std::string> readStateVar(const SharedState& state, std::string_view name);

// Where a name is valid: on its own (Shared), with the bank letter appended
// (Bank), after `effA(i).`, `effB(i).` or `copyBuffer.` (Entry), or after
// `fadeList(i).` (Fade).
enum class StateVarGroup { Shared, Bank, Entry, Fade };
struct StateVarName {
    StateVarGroup group;
    std::string_view name;
    bool indexed;  // takes indexes in parentheses
    // A record's name: the group of the fields that follow it after a dot.
    std::optional<StateVarGroup> fields = std::nullopt;
};
// Every name readStateVar knows, from the tables it reads by.
std::vector<StateVarName> stateVarNames();

}  // namespace kavrel
