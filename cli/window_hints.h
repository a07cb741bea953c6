#pragma once
// How the windows a user opens with a click come to be shown, for the note
// of an action on one that is not.
#include <span>
#include <string>
#include <string_view>

namespace kavrel {

struct WindowShow {
    std::string_view window;
    std::string_view click;       // the target whose click shows it
    std::string_view otherClick;  // another target that shows it too, or empty
    std::string_view entryType;   // an editor's: the type of entry its bank must run
    std::string_view when;        // what else the click needs, or empty
};

// Every window a click shows, with the click.
std::span<const WindowShow> windowShows();
// "click MatrixForm.editA or MatrixForm.editB while that bank runs a Ticker
// entry" for a window a click shows; "" for any other.
std::string howToShow(std::string_view window);

}  // namespace kavrel
