#include "platform/controls/list_view.h"

#include <cmath>
#include <stdexcept>

#include "platform/text/cp1252.h"
#include "platform/controls/text_box.h"

namespace platform {

ListView::ListView(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

size_t ListView::slot(int i) const {
    if (i < 1 || i > Count()) {
        throw std::out_of_range("no row " + std::to_string(i) + " in " + path());
    }
    return static_cast<size_t>(i - 1);
}

void ListView::checkColumn(int column) {
    if (column < 0 || column > kMaxColumn) {
        throw std::out_of_range("no column " + std::to_string(column));
    }
}

int ListView::AddItem(std::string text) {
    ListRow row;
    row.Text = std::move(text);
    row.ForeColor = ForeColor();
    rows_.push_back(std::move(row));
    return Count();
}

ListRow& ListView::Item(int i) {
    return rows_[slot(i)];
}
const ListRow& ListView::Item(int i) const {
    return rows_[slot(i)];
}

std::string ListView::SubItem(int i, int k) const {
    const ListRow& row = Item(i);
    if (k < 1 || static_cast<size_t>(k) >= row.SubItems.size()) return "";
    return row.SubItems[static_cast<size_t>(k)];
}

void ListView::setSubItem(int i, int k, std::string text) {
    ListRow& row = Item(i);
    if (k < 1 || k > kMaxColumn) throw std::out_of_range("no sub-item " + std::to_string(k));
    if (static_cast<size_t>(k) >= row.SubItems.size())
        row.SubItems.resize(static_cast<size_t>(k) + 1);
    row.SubItems[static_cast<size_t>(k)] = std::move(text);
}

std::string ListView::cell(int row, int column) const {
    return column == 0 ? Item(row).Text : SubItem(row, column);
}

void ListView::setCell(int row, int column, std::string text) {
    if (column == 0) {
        Item(row).Text = std::move(text);
    } else {
        setSubItem(row, column, std::move(text));
    }
}

void ListView::Remove(int i) {
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(slot(i)));
    if (selected_) {
        if (*selected_ == i) {
            selected_.reset();
        } else if (*selected_ > i) {
            --*selected_;
        }
    }
    if (editing_) {
        if (editRow_ == i) {
            closeEditor();
        } else if (editRow_ > i) {
            --editRow_;
        }
    }
}

void ListView::Clear() {
    rows_.clear();
    selected_.reset();
    closeEditor();
}

ListRow* ListView::SelectedItem() {
    return selected_ ? &rows_[static_cast<size_t>(*selected_ - 1)] : nullptr;
}

void ListView::Select(int i) {
    if (i >= 1 && i <= Count()) {
        selected_ = i;
    } else {
        selected_.reset();
    }
}

void ListView::AddColumn(std::string caption, float width, int alignment) {
    if (!std::isfinite(width) || width < 0) width = 0;
    if (alignment < 0 || alignment > 2) alignment = 0;
    columns_.push_back(ListColumn{std::move(caption), width, alignment});
}

void ListView::StartSubItemEdit(int row, int column, std::string text) {
    slot(row);
    checkColumn(column);
    editing_ = true;
    editRow_ = row;
    editColumn_ = column;
    editText_ = std::move(text);
}

void ListView::closeEditor() {
    editing_ = false;
    editRow_ = 0;
    editColumn_ = 0;
}

void ListView::commitEdit() {
    const int row = editRow_;
    const int column = editColumn_;
    std::string oldText = cell(row, column);
    std::string newText = editText_;
    setCell(row, column, newText);
    closeEditor();
    currentColumn_ = column;
    lastEditRow_ = row;
    if (onAfterCellEdit) onAfterCellEdit(oldText, newText);
}

std::string ListView::rowsText() const {
    if (Count() == 0) return "the list is empty";
    if (Count() == 1) return "the list has row 1";
    return "the list has rows 1 to " + std::to_string(Count());
}

std::optional<std::string> ListView::rowRefusal(int row) const {
    if (hasRow(row)) return std::nullopt;
    return "no row " + std::to_string(row) + ": " + rowsText();
}

bool ListView::userSelectRow(int row, int column, int button) {
    if (!acceptsInput() || !hasRow(row)) return false;
    if (column < 0 || column > kMaxColumn) {
        throw UserActionError("no column " + std::to_string(column) + " in " + path());
    }
    selected_ = row;
    currentColumn_ = column;
    if (onItemClick) onItemClick(row, button, column);
    raise(onClick);
    return true;
}

bool ListView::userDblClickRow(int row, int column) {
    if (!userSelectRow(row, column)) return false;
    // The first click's handlers may have deselected (or even removed) the row.
    if (row <= Count()) selected_ = row;
    raise(onDblClick);
    return true;
}

bool ListView::userEditCell(int row, int column, const std::string& text) {
    if (!acceptsInput()) return false;
    if (row < 1 || row > Count() || column < 0 || column > kMaxColumn) {
        throw UserActionError("no cell (" + std::to_string(row) + ", " + std::to_string(column) +
                              ") in " + path());
    }
    if (!editing_ || editRow_ != row || editColumn_ != column) {
        StartSubItemEdit(row, column, cell(row, column));
    }
    // As in a text box, what the cell shows is what a project file keeps.
    editText_ = keepCp1252(text);
    commitEdit();
    return true;
}

bool ListView::userSpin(bool up) {
    if (!acceptsInput() || !editing_) return false;
    raise(up ? onSpinUp : onSpinDown);
    return true;
}

bool ListView::userKey(int keyAscii) {
    if (!editing_) return Control::userKey(keyAscii);
    if (!acceptsInput()) return false;
    if (keyAscii == 13) {
        commitEdit();
    } else if (keyAscii == 27) {
        closeEditor();
    } else {
        applyTypedKey(editText_, keyAscii);
    }
    return true;
}

std::optional<std::string> ListView::answerProperty(PropertyQuery& q) const {
    if (q.is("Count")) return propertyNumber(static_cast<int64_t>(Count()));
    if (q.is("SelectedIndex")) return propertyNumber(static_cast<int64_t>(selected_.value_or(0)));
    if (q.is("CurrentColumn")) return propertyNumber(static_cast<int64_t>(currentColumn_));
    if (q.is("EditText")) return editText_;
    if (q.is("Editing")) return propertyBool(editing_);
    if (q.is("ColumnCount")) return propertyNumber(static_cast<int64_t>(ColumnCount()));
    const IndexRange rows{"row", 1, "Count", Count()};
    if (auto a = q.indexes("Item(i)", {rows})) return Item((*a)[0]).Text;
    if (auto a = q.indexes("ItemForeColor(i)", {rows}))
        return propertyColor(Item((*a)[0]).ForeColor);
    if (auto a = q.indexes("ColumnHeader(k)", {{"column", 1, "ColumnCount", ColumnCount()}}))
        return columns_[static_cast<size_t>((*a)[0] - 1)].caption;
    if (auto a = q.indexes("SubItems(i,k)", {rows, {"column", 1, {}, 0}}))
        return SubItem((*a)[0], (*a)[1]);
    return Control::answerProperty(q);
}

}  // namespace platform
