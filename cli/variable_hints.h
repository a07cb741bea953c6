#pragma once
// What a script that names no state variable most likely meant.
#include <functional>
#include <string>
#include <string_view>

namespace kavrel {

// Whether a variable of that name is read now.
using VariableReadable = std::function<bool(const std::string& name)>;

// "unknown variable "NAME"", with the nearest variable names (the bank
// letter, indexes and fields kept as written), or why a known name was not
// read (indexes missing, or out of range: then, with `readable`, the range
// each index that is out takes now).
std::string unknownVariableMessage(std::string_view name, const VariableReadable& readable = {});

}  // namespace kavrel
