#include "cli/window_hints.h"

#include <algorithm>

namespace kavrel {

std::string howToShow(std::string_view window) {
    const auto show = std::find_if(std::begin(kWindowShows), std::end(kWindowShows),
                                   [&](const WindowShow& s) { return s.window == window; });
    if (show == std::end(kWindowShows)) return {};
    std::string how = "click " + std::string(show->click);
    if (!show->otherClick.empty()) how += " or " + std::string(show->otherClick);
    if (!show->entryType.empty()) {
        const bool an = show->entryType.find_first_of("AEIOU") == 0;
        how += std::string(" while that bank runs ") + (an ? "an " : "a ") +
               std::string(show->entryType) + " entry";
    }
    if (!show->when.empty()) how += ' ' + std::string(show->when);
    return how;
}

}  // namespace kavrel
