#pragma once
// What a script that names no state variable most likely meant.
#include <string>
#include <string_view>

namespace kavrel {

// "unknown variable "NAME"", with the nearest variable names (the bank
// letter, indexes and fields kept as written), or why a known name was not
// read (indexes missing or out of range).
std::string unknownVariableMessage(std::string_view name);

}  // namespace kavrel
