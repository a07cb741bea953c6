#pragma once
// Reading the tables of a Markdown page, for tests that hold a page against
// the running program.
#include <string>
#include <vector>

namespace kavrel::testing {

// The texts between backticks in a line.
inline std::vector<std::string> backticked(const std::string& line) {
    std::vector<std::string> out;
    for (size_t open = line.find('`'); open != std::string::npos;) {
        const size_t close = line.find('`', open + 1);
        if (close == std::string::npos) break;
        out.push_back(line.substr(open + 1, close - open - 1));
        open = line.find('`', close + 1);
    }
    return out;
}

// The cells of a table row ("| a | b |"); empty for any other line and for
// the header's rule.
inline std::vector<std::string> cells(const std::string& line) {
    if (line.rfind("| ", 0) != 0) return {};
    std::vector<std::string> out;
    size_t start = 1;
    for (size_t bar = line.find(" |", start); bar != std::string::npos;
         bar = line.find(" |", start)) {
        std::string cell = line.substr(start, bar - start);
        cell.erase(0, cell.find_first_not_of(' '));
        out.push_back(cell);
        start = bar + 2;
    }
    return out;
}

}  // namespace kavrel::testing
