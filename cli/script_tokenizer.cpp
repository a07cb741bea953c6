#include "cli/script_tokenizer.h"

namespace kavrel {

namespace {
bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A combo-box index ("#2") is a value, not a comment: '#' after a blank, then
// digits up to a blank or the line's end.
bool indexWordAt(std::string_view line, size_t i) {
    if (i == 0 || !blank(line[i - 1])) return false;
    size_t j = i + 1;
    while (j < line.size() && line[j] >= '0' && line[j] <= '9') ++j;
    return j > i + 1 && (j == line.size() || blank(line[j]));
}
}  // namespace

std::vector<std::string> tokenizeScriptLine(std::string_view line, std::string_view* comment) {
    std::vector<std::string> words;
    if (comment) *comment = {};
    const size_t n = line.size();
    size_t i = 0;
    for (;;) {
        while (i < n && blank(line[i])) ++i;
        if (i >= n) break;
        if (line[i] == '#' && (words.empty() || !indexWordAt(line, i))) {
            if (comment) *comment = line.substr(i);
            break;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < n && (line[i] == '"' || line[i] == '\\')) {
                    word += line[i++];
                    continue;
                }
                word += c;
            }
            if (!closed) throw ScriptSyntaxError("unclosed quote");
            if (i < n && !blank(line[i]) && line[i] != '#')
                throw ScriptSyntaxError("text right after a closing quote");
        } else {
            if (line[i] == '#') word += line[i++];
            while (i < n && !blank(line[i]) && line[i] != '#') {
                if (line[i] == '"')
                    throw ScriptSyntaxError("a quote inside a word (quote the whole word)");
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace kavrel
