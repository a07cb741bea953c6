#include "host/script_tokenizer.h"

namespace kavrel {

namespace {
bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

std::vector<std::string> tokenizeScriptLine(std::string_view line) {
    std::vector<std::string> words;
    const size_t n = line.size();
    size_t i = 0;
    for (;;) {
        while (i < n && blank(line[i])) ++i;
        if (i >= n || line[i] == '#') break;
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
