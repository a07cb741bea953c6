#pragma once
// The failures a script line can end in, and how its words are checked, read
// as numbers and compared.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_driver.h"

namespace kavrel {

// Bad syntax, an unknown window, control, property, variable or command:
// the script cannot go on (exit status 2).
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An `expect` that did not hold (exit status 1).
class ExpectFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws ScriptError ("bad syntax, expected: USAGE") unless the line has
// min..max words after its first.
void checkWordCount(const std::vector<std::string>& words, size_t min, size_t max,
                    const char* usage);
// A target "W", "W.c" or "W.c(i)"; throws ScriptError when malformed.
platform::TargetName checkTarget(std::string_view word);

// A whole number min..max written as plain decimal digits with an optional
// '-'; throws ScriptError naming `what` otherwise.
int64_t wholeNumber(std::string_view word, int64_t min, int64_t max, const char* what);
// A finite number with '.' or ',' as its decimal separator; throws ScriptError.
double decimalNumber(std::string_view word, const char* what);

// Equal as text, or as numbers when both are numbers ("0.50" equals "0,5").
bool valuesMatch(std::string_view found, std::string_view expected);

// Quotes a text for a message, escaping quotes and backslashes.
std::string quotedText(std::string_view text);

}  // namespace kavrel
