#include "effects/common/colour_rows.h"

#include <optional>
#include <utility>

#include "platform/runtime/convert.h"
#include "platform/controls/list_view.h"

namespace kavrel {

void addColourRow(platform::ListView& list, uint32_t color, const std::string& value) {
    const int row = list.AddItem(kColourBars);
    list.Item(row).ForeColor = color;
    list.setSubItem(row, 1, value);
}

void moveSelectedRow(platform::ListView& list, int by) {
    const std::optional<int> row = list.SelectedIndex();
    const int other = row ? *row + by : 0;
    if (list.Count() < 2 || !row || *row > list.Count() || other < 1 || other > list.Count())
        return;
    std::swap(list.Item(*row).ForeColor, list.Item(other).ForeColor);
    const std::string value = list.SubItem(*row, 1);
    list.setSubItem(*row, 1, list.SubItem(other, 1));
    list.setSubItem(other, 1, value);
    list.Select(other);
}

void settleCellEdit(platform::ListView& list, const std::string& oldText,
                    const std::string& newText) {
    const int row = list.LastEditRow();
    if (row < 1 || row > list.Count()) return;
    if (list.CurrentColumn() == 0) {
        list.Item(row).Text = oldText;  // the bars are not edited
        return;
    }
    const std::string text = newText.empty() ? std::string("10") : newText;
    list.setSubItem(row, 1, platform::isNumeric(text) ? text : oldText);
}

}  // namespace kavrel
