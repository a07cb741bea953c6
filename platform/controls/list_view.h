#pragma once
// A report-style list view: 1-based rows of a text and sub-items, column
// headers, one selected row, and an in-place cell editor with spin buttons.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/control.h"
#include "platform/drawing/surface.h"

namespace platform {

struct ListRow {
    std::string Text;
    // SubItems(k) is at index k (index 0 unused); grows when a cell is set.
    std::vector<std::string> SubItems;
    Color ForeColor = 0;
};

struct ListColumn {
    std::string caption;
    float width = 0;
    int alignment = 0;  // 0 left, 1 right, 2 centre
};

class ListView : public Control {
  public:
    // Sub-item columns a row can hold; beyond this a cell is refused.
    static constexpr int kMaxColumn = 255;

    ListView(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "ListView"; }
    std::string_view defaultProperty() const override { return "SelectedIndex"; }

    // Rows (1-based). Item, SubItem, setSubItem and Remove throw
    // std::out_of_range for a row that does not exist.
    int Count() const { return static_cast<int>(rows_.size()); }
    int AddItem(std::string text);  // returns the new row's index
    ListRow& Item(int i);
    const ListRow& Item(int i) const;
    std::string SubItem(int i, int k) const;  // "" when the row has no such cell
    void setSubItem(int i, int k, std::string text);
    void Remove(int i);
    void Clear();

    // Selection. Code selection raises no events.
    std::optional<int> SelectedIndex() const { return selected_; }
    ListRow* SelectedItem();
    void Select(int i);  // outside the rows: nothing selected
    void Deselect() { selected_.reset(); }

    // A column header; a negative or non-finite width becomes 0, an unknown
    // alignment left. The script reads captions as ColumnHeader(k), from 1.
    void AddColumn(std::string caption, float width, int alignment = 0);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::vector<ListColumn>& columns() const { return columns_; }

    // The column of the last click or cell edit: 0 the row text, k sub-item k.
    int CurrentColumn() const { return currentColumn_; }

    // In-place cell editor.
    void StartSubItemEdit(int row, int column, std::string text);
    const std::string& EditText() const { return editText_; }
    void setEditText(std::string t) { editText_ = std::move(t); }
    bool isEditing() const { return editing_; }
    int editRow() const { return editRow_; }
    int editColumn() const { return editColumn_; }
    // The row of the last committed cell edit (0 before any); AfterCellEdit
    // handlers read it to put a refused text back.
    int LastEditRow() const { return lastEditRow_; }

    std::function<void()> onSpinUp;
    std::function<void()> onSpinDown;
    // After a commit wrote the new text into the cell; the handler may then
    // give the cell another text.
    std::function<void(const std::string& oldText, const std::string& newText)> onAfterCellEdit;
    std::function<void(int row, int button, int column)> onItemClick;

    // "the list has rows 1 to 3", "the list has row 1" or "the list is empty".
    std::string rowsText() const;
    // Why a click on `row` selects nothing even while the list takes input:
    // "no row 5: the list has rows 1 to 2"; nullopt for a row it has.
    std::optional<std::string> rowRefusal(int row) const;

    // A click on a row (and cell): selects it, then ItemClick and Click; false
    // for a row the list does not have, as for a list that takes no input.
    bool userSelectRow(int row, int column = 0, int button = 1);
    bool userDblClickRow(int row, int column = 0);
    // Types `text` into the cell (characters Windows-1252 cannot hold as
    // '?') and commits it.
    bool userEditCell(int row, int column, const std::string& text);
    bool userSpin(bool up);
    // With the editor open: 13 commits, 27 cancels, other keys type into it.
    bool userKey(int keyAscii) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    bool hasRow(int row) const { return row >= 1 && row <= Count(); }
    size_t slot(int i) const;  // throws std::out_of_range
    static void checkColumn(int column);
    std::string cell(int row, int column) const;
    void setCell(int row, int column, std::string text);
    void commitEdit();
    void closeEditor();

    std::vector<ListRow> rows_;
    std::vector<ListColumn> columns_;
    std::optional<int> selected_;
    int currentColumn_ = 0;
    bool editing_ = false;
    int editRow_ = 0;
    int editColumn_ = 0;
    int lastEditRow_ = 0;
    std::string editText_;
};

}  // namespace platform
