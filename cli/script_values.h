#pragma once
// The failures a script line can end in, and how its words are checked, read
// as numbers and compared.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime/locale.h"
#include "platform/driver/user_driver.h"

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

// "bad syntax, expected: USAGE".
ScriptError badSyntax(std::string_view usage);
// Throws badSyntax(usage) unless the line has min..max words after its first.
void checkWordCount(const std::vector<std::string>& words, size_t min, size_t max,
                    std::string_view usage);
// A target "W", "W.c" or "W.c(i)"; throws ScriptError when malformed.
platform::TargetName checkTarget(std::string_view word);

// A whole number min..max written as plain decimal digits with an optional
// '-'; throws ScriptError naming `what` otherwise.
int64_t wholeNumber(std::string_view word, int64_t min, int64_t max, const char* what);
// A finite number with '.' or ',' as its decimal separator; throws ScriptError.
double decimalNumber(std::string_view word, const char* what);

// Equal as text, or as numbers when both are numbers ("0.50" equals "0,5").
bool valuesMatch(std::string_view found, std::string_view expected);

// What an `expect` compares with: VALUE, VALUE ~TOLERANCE or between LOW HIGH.
struct ExpectedValue {
    std::string text;  // VALUE, or "between LOW HIGH" for messages
    bool numeric = false;
    double low = 0, high = 0;  // the numbers allowed, when numeric
};
// Reads the words after the subject of an expect; throws ScriptError.
ExpectedValue expectedValue(const std::vector<std::string>& words, size_t first);
// Whether the words from `first` on have the shape of VALUE ~TOLERANCE or
// between LOW HIGH, numbers or not.
bool hasRangeForm(const std::vector<std::string>& words, size_t first);
bool valueAllowed(std::string_view found, const ExpectedValue& expected);
// The value as a failure message shows it.
std::string expectedText(const ExpectedValue& expected);

// "COLSxROWS" with 1..kMaxGrid each; nullopt otherwise.
constexpr int kMaxGrid = 50;
std::optional<std::pair<int, int>> parseGrid(std::string_view text);
// "en" or "de"; nullopt otherwise.
std::optional<platform::Locale> parseLocale(std::string_view text);

// "TARGET.PROPERTY" with a well-formed target and property name, the name
// perhaps indexed ("Item(2)", "SubItems(2,1)"); throws ScriptError otherwise,
// so no malformed word reaches the windows.
void checkPropertyPath(std::string_view word);

// Quotes a text for a message: quotes and backslashes escaped, control
// characters as \n, \t, \r or \xHH (the C1 controls and bytes that are no
// UTF-8 byte by byte), format characters and no-break spaces as \u{202e},
// \u{a0}, and a long text cut short with its length given.
std::string quotedText(std::string_view text);
// Text from a file or the user made safe for a terminal: control characters
// and format characters escaped as in quotedText except that a tab stays, and
// no longer than about `max` bytes. A no-break space stays: a printed value is
// the text as it is.
std::string printableText(std::string_view text, size_t max = std::string_view::npos);
// printableText for a message, which repeats a script's words and paths,
// where a no-break space would pass for a blank: those are escaped too.
std::string messageText(std::string_view text, size_t max = std::string_view::npos);

}  // namespace kavrel
