#pragma once
// Splits a session-script line into its words.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

class ScriptSyntaxError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Words are separated by blanks; '#' outside quotes starts a comment that runs
// to the end of the line, except a word of '#' and digits after the first
// word, which is a combo-box index. A word in double quotes may hold blanks
// and '#'; inside it \" stands for a quote and \\ for a backslash, any other
// backslash is kept as it is. An empty line or a comment gives no words.
// Throws ScriptSyntaxError for an unclosed quote, text glued to a closing
// quote, or a quote inside an unquoted word. With `comment`, the comment
// (from its '#') is stored there, empty when the line has none.
std::vector<std::string> tokenizeScriptLine(std::string_view line,
                                            std::string_view* comment = nullptr);

}  // namespace kavrel
