#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/windows/desktop.h"
#include "platform/controls/list_view.h"
#include "platform/windows/window.h"

namespace platform {
namespace {

class ListViewTest : public ::testing::Test {
  protected:
    ListViewTest() {
        w.Show();
        for (const char* s : {"one", "two", "three", "four"}) list.AddItem(s);
        list.onItemClick = [this](int row, int button, int column) {
            log.push_back("item " + std::to_string(row) + " " + std::to_string(button) + " " +
                          std::to_string(column));
        };
        list.onClick = [this] { log.push_back("click"); };
        list.onDblClick = [this] { log.push_back("dbl"); };
    }
    Desktop d;
    Window w{d, "Form1"};
    ListView& list = w.add<ListView>("ColorList");
    std::vector<std::string> log;
};

TEST_F(ListViewTest, RowsAndSubItems) {
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.AddItem("five"), 5);
    list.setSubItem(2, 2, "path");
    EXPECT_EQ(list.SubItem(2, 2), "path");
    EXPECT_EQ(list.SubItem(2, 1), "");
    EXPECT_EQ(list.SubItem(3, 7), "");
    EXPECT_EQ(list.Item(2).SubItems.size(), 3u);
    EXPECT_THROW(list.Item(0), std::out_of_range);
    EXPECT_THROW(list.Item(6), std::out_of_range);
    EXPECT_THROW(list.setSubItem(9, 1, "x"), std::out_of_range);
    EXPECT_THROW(list.setSubItem(1, 0, "x"), std::out_of_range);
    EXPECT_THROW(list.setSubItem(1, 1 << 30, "x"), std::out_of_range);
    EXPECT_THROW(list.Remove(0), std::out_of_range);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.property("Item(2)"), "two");
    EXPECT_EQ(list.property("SubItems(2,2)"), "path");
    EXPECT_EQ(list.property("Item(6)"), std::nullopt);
    EXPECT_EQ(list.property("Item(x)"), std::nullopt);
    list.Item(3).ForeColor = rgb(255, 0, 0);
    EXPECT_EQ(list.property("ItemForeColor(3)"), "255");
    list.AddColumn("Colour", 1200, 0);
    list.AddColumn("Width", 600, 1);
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.columns()[1].alignment, 1);
}

TEST_F(ListViewTest, RowsTakeTheListColourWhenAddedAndKeepTheirOwn) {
    list.setForeColor(rgb(0, 0, 255));
    const int row = list.AddItem("blue");
    list.Item(2).ForeColor = rgb(0, 255, 0);
    list.setForeColor(rgb(9, 9, 9));  // rows added before keep their colours
    EXPECT_EQ(list.Item(row).ForeColor, rgb(0, 0, 255));
    EXPECT_EQ(list.property("ItemForeColor(2)"), "65280");
    EXPECT_EQ(list.property("ItemForeColor(1)"), "0");
    EXPECT_EQ(list.property("ItemForeColor(6)"), std::nullopt);
}

TEST_F(ListViewTest, ColumnHeadersKeepCaptionWidthAndAlignment) {
    list.AddColumn("Color", 1800, 0);
    list.AddColumn("Time(s)", 900, 1);
    list.AddColumn("bad", -5, 7);
    list.AddColumn("nan", std::nanf(""), -1);
    EXPECT_EQ(list.property("ColumnCount"), "4");
    EXPECT_EQ(list.property("ColumnHeader(1)"), "Color");
    EXPECT_EQ(list.property("ColumnHeader(2)"), "Time(s)");
    EXPECT_EQ(list.property("ColumnHeader(0)"), std::nullopt);
    EXPECT_EQ(list.property("ColumnHeader(5)"), std::nullopt);
    EXPECT_EQ(list.columns()[1].width, 900);
    EXPECT_EQ(list.columns()[1].alignment, 1);
    for (size_t k : {2u, 3u}) {
        EXPECT_EQ(list.columns()[k].width, 0) << k;
        EXPECT_EQ(list.columns()[k].alignment, 0) << k;
    }
}

TEST_F(ListViewTest, CodeSelectionRaisesNothing) {
    list.Select(3);
    EXPECT_EQ(list.SelectedIndex(), 3);
    EXPECT_EQ(list.SelectedItem()->Text, "three");
    list.Select(9);
    EXPECT_EQ(list.SelectedIndex(), std::nullopt);
    EXPECT_EQ(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.property("SelectedIndex"), "0");
    list.Select(2);
    list.Deselect();
    EXPECT_FALSE(list.SelectedIndex());
    EXPECT_TRUE(log.empty());
}

TEST_F(ListViewTest, UserRowClickRaisesItemClickThenClick) {
    std::optional<int> selectedDuringItemClick;
    list.onItemClick = [&](int row, int button, int column) {
        selectedDuringItemClick = list.SelectedIndex();
        log.push_back("item " + std::to_string(row) + " " + std::to_string(button) + " " +
                      std::to_string(column));
    };
    EXPECT_TRUE(list.userSelectRow(2, 1));
    EXPECT_EQ(selectedDuringItemClick, 2);
    EXPECT_EQ(list.CurrentColumn(), 1);
    EXPECT_TRUE(list.userSelectRow(4, 0, 2));
    EXPECT_FALSE(list.userSelectRow(5));
    EXPECT_FALSE(list.userSelectRow(0));
    EXPECT_EQ(list.SelectedIndex(), 4);
    EXPECT_EQ(log, (std::vector<std::string>{"item 2 1 1", "click", "item 4 2 0", "click"}));
    list.setEnabled(false);
    EXPECT_FALSE(list.userSelectRow(1));
    EXPECT_EQ(list.SelectedIndex(), 4);
}

TEST_F(ListViewTest, RowsTextNamesTheRowsThereAre) {
    EXPECT_EQ(list.rowsText(), "the list has rows 1 to 4");
    while (list.Count() > 1) list.Remove(list.Count());
    EXPECT_EQ(list.rowsText(), "the list has row 1");
    list.Clear();
    EXPECT_EQ(list.rowsText(), "the list is empty");
    EXPECT_EQ(list.rowRefusal(1), "no row 1: the list is empty");
    list.AddItem("one");
    EXPECT_EQ(list.rowRefusal(1), std::nullopt);
}

TEST_F(ListViewTest, RemovalKeepsTheSelectionOnItsRow) {
    list.Select(3);
    list.Remove(1);  // above: the selection moves up with its row
    EXPECT_EQ(list.SelectedIndex(), 2);
    EXPECT_EQ(list.SelectedItem()->Text, "three");
    list.Remove(3);  // below: unchanged
    EXPECT_EQ(list.SelectedIndex(), 2);
    list.Remove(2);  // the selected row itself
    EXPECT_FALSE(list.SelectedIndex());
    list.Select(1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.SelectedIndex());
}

TEST_F(ListViewTest, DoubleClickReselectsARowTheFirstClickDeselected) {
    list.onClick = [&] {
        log.push_back("click");
        list.Deselect();
    };
    EXPECT_TRUE(list.userDblClickRow(3, 1));
    EXPECT_EQ(list.SelectedIndex(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"item 3 1 1", "click", "dbl"}));
    EXPECT_FALSE(list.userDblClickRow(8));
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(ListViewTest, CellEditReportsOldAndNewAndHandlerHasTheLastWord) {
    std::vector<std::string> edits;
    list.onAfterCellEdit = [&](const std::string& oldText, const std::string& newText) {
        // The list has written the new text already; refuse anything not numeric.
        edits.push_back(oldText + ">" + newText + " cell " + list.SubItem(2, 1) + " col " +
                        std::to_string(list.CurrentColumn()));
        if (newText.find_first_not_of("0123456789") != std::string::npos)
            list.setSubItem(2, 1, oldText);
    };
    list.setSubItem(2, 1, "5");
    EXPECT_TRUE(list.userEditCell(2, 1, "7"));
    EXPECT_TRUE(list.userEditCell(2, 1, "abc"));
    EXPECT_EQ(list.SubItem(2, 1), "7");
    EXPECT_TRUE(list.userEditCell(1, 0, "uno"));
    EXPECT_EQ(list.Item(1).Text, "uno");
    EXPECT_EQ(edits, (std::vector<std::string>{"5>7 cell 7 col 1", "7>abc cell abc col 1",
                                               "one>uno cell 7 col 0"}));
    EXPECT_FALSE(list.isEditing());
    EXPECT_THROW(list.userEditCell(9, 1, "x"), UserActionError);
    EXPECT_THROW(list.userEditCell(1, -1, "x"), UserActionError);
}

TEST_F(ListViewTest, SpinsOnlyWhileEditingAndEnterCommits) {
    int spins = 0;
    list.onSpinUp = [&] {
        ++spins;
        list.setEditText(std::to_string(std::stoi(list.EditText()) + 1));
    };
    list.onSpinDown = [&] { --spins; };
    std::vector<std::string> edits;
    list.onAfterCellEdit = [&](const std::string& o, const std::string& n) {
        edits.push_back(o + ">" + n);
    };
    EXPECT_FALSE(list.userSpin(true));
    list.setSubItem(3, 1, "30");
    list.StartSubItemEdit(3, 1, list.SubItem(3, 1));
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(list.editRow(), 3);
    EXPECT_TRUE(list.userSpin(true));
    EXPECT_TRUE(list.userSpin(true));
    EXPECT_TRUE(list.userSpin(false));
    EXPECT_EQ(list.SubItem(3, 1), "30");  // nothing written before the commit
    EXPECT_TRUE(list.userKey(13));
    EXPECT_EQ(list.SubItem(3, 1), "32");
    EXPECT_EQ(edits, std::vector<std::string>{"30>32"});
    EXPECT_FALSE(list.userSpin(false));
    EXPECT_EQ(spins, 1);

    // Escape closes without a commit; typing goes into the open editor.
    list.StartSubItemEdit(3, 1, "32");
    list.userKey('5');
    EXPECT_EQ(list.property("EditText"), "325");
    EXPECT_TRUE(list.userKey(27));
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(list.SubItem(3, 1), "32");
    EXPECT_EQ(edits.size(), 1u);
}

TEST_F(ListViewTest, RemovingRowsMovesOrClosesTheEditor) {
    int commits = 0;
    list.onAfterCellEdit = [&](const std::string&, const std::string&) { ++commits; };
    list.StartSubItemEdit(3, 1, "x");
    list.Remove(1);
    EXPECT_EQ(list.editRow(), 2);
    EXPECT_TRUE(list.userKey(13));
    EXPECT_EQ(list.SubItem(2, 1), "x");  // the row that moved up got the text
    list.StartSubItemEdit(2, 1, "y");
    list.Remove(2);
    EXPECT_FALSE(list.isEditing());
    EXPECT_FALSE(list.userSpin(true));
    list.userKey(13);  // no editor: an ordinary key
    EXPECT_EQ(commits, 1);
    EXPECT_THROW(list.StartSubItemEdit(7, 1, "x"), std::out_of_range);
}

}  // namespace
}  // namespace platform
