#pragma once
// The colour lists of the editors: one row a colour, its text a bar drawn in
// the colour, its second column a number (a time or a width) as text.
#include <cstdint>
#include <string>

namespace platform {
class ListView;
}

namespace kavrel {

inline constexpr const char* kColourBars = "||||||||||||";

// Appends a row of `color` with `value` in the second column.
void addColourRow(platform::ListView& list, uint32_t color, const std::string& value);
// Exchanges the selected row's colour and value with the row `by` away and
// selects that row; nothing without a selected row that has such a neighbour.
void moveSelectedRow(platform::ListView& list, int by);
// After an in-place edit of the last edited row: the bars are given back
// their text; an empty value becomes "10", one that is no number is undone.
void settleCellEdit(platform::ListView& list, const std::string& oldText,
                    const std::string& newText);

}  // namespace kavrel
