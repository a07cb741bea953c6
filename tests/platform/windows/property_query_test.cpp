#include "platform/windows/property_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/combo_box.h"
#include "platform/windows/desktop.h"
#include "platform/controls/list_view.h"
#include "platform/controls/timer_control.h"
#include "platform/windows/window.h"
#include "tests/support/lowest_element.h"

namespace platform {
namespace {

using Ints = std::vector<int>;

TEST(PropertyQuery, MatchesPlainNamesExactlyAndIndexesOfTheFormsShapeWithinTheirRanges) {
    const IndexRange rows{"row", 1, "Count", 3};
    const IndexRange columns{"column", 1, {}, 0};
    PropertyQuery plain("Value");
    EXPECT_TRUE(plain.is("Value"));
    EXPECT_FALSE(plain.is("value"));
    EXPECT_FALSE(plain.indexes("Value(i)", {rows}));

    PropertyQuery one("Item(3)");
    EXPECT_FALSE(one.is("Item"));
    EXPECT_EQ(one.indexes("Item(i)", {rows}), Ints{3});
    EXPECT_FALSE(one.indexes("ItemForeColor(i)", {rows}));
    EXPECT_FALSE(one.indexes("SubItems(i,k)", {rows, columns}));
    // Past either end of the range; a range without a bound has none above.
    EXPECT_FALSE(PropertyQuery("Item(4)").indexes("Item(i)", {rows}));
    EXPECT_FALSE(PropertyQuery("Item(0)").indexes("Item(i)", {rows}));
    EXPECT_EQ(PropertyQuery("SubItems(2,999)").indexes("SubItems(i,k)", {rows, columns}),
              (Ints{2, 999}));
    EXPECT_FALSE(PropertyQuery("SubItems(2,0)").indexes("SubItems(i,k)", {rows, columns}));

    for (const char* bad : {"Item()", "Item(1,2)", "Item(x)", "Item(1", "Item(99999999999)"})
        EXPECT_FALSE(PropertyQuery(bad).indexes("Item(i)", {rows})) << bad;
    EXPECT_FALSE(PropertyQuery("SubItems(2)").indexes("SubItems(i,k)", {rows, columns}));
    // A listing query never matches, so a chain runs to its end, and keeps
    // each indexed form with its ranges.
    PropertyQuery listing = PropertyQuery::listing();
    EXPECT_FALSE(listing.is(""));
    EXPECT_FALSE(listing.indexes("SubItems(i,k)", {rows, columns}));
    EXPECT_EQ(listing.names(), (std::vector<std::string>{"", "SubItems(i,k)"}));
    ASSERT_EQ(listing.indexed().size(), 1u);
    EXPECT_EQ(listing.indexed()[0].name(), "SubItems");
    EXPECT_EQ(listing.indexed()[0].rangeText(),
              "a row i from 1 to Count, now 1 to 3, and a column k from 1");
}

TEST(PropertyQuery, RangeTextSaysWhatTheBoundHoldsNow) {
    const auto text = [](int high) {
        return IndexedProperty{"List(i)", {{"item", 0, "ListCount - 1", high}}}.rangeText();
    };
    EXPECT_EQ(text(-1), "an item i from 0 to ListCount - 1, none now");
    EXPECT_EQ(text(0), "an item i from 0 to ListCount - 1, now 0");
    EXPECT_EQ(text(2), "an item i from 0 to ListCount - 1, now 0 to 2");
}

TEST(PropertyQuery, NamesListedAreTheNamesAnsweredThroughTheWholeChain) {
    Desktop d;
    Window w{d, "Form1"};
    auto& combo = w.add<ComboBox>("combo");
    combo.AddItem("first");
    auto& list = w.add<ListView>("list");
    list.AddColumn("Effect", 100);
    list.AddItem("row");
    const auto& timer = w.add<TimerControl>("tick");

    for (const Control* c : std::vector<const Control*>{&combo, &list, &timer}) {
        const std::vector<std::string> names = c->propertyNames();
        for (const std::string& name : names)
            EXPECT_TRUE(c->property(kavrel_test::lowestElement(*c, name)))
                << c->path() << "." << name;
        EXPECT_NE(std::find(names.begin(), names.end(), "Visible"), names.end()) << c->path();
        // The timer's own Enabled replaces the control's, listed once.
        EXPECT_EQ(std::count(names.begin(), names.end(), "Enabled"), 1) << c->path();
    }
    EXPECT_FALSE(combo.property("List(1)"));  // past the items
    const auto windowNames = w.propertyNames();
    EXPECT_NE(std::find(windowNames.begin(), windowNames.end(), "Caption"), windowNames.end());
    for (const std::string& name : windowNames) EXPECT_TRUE(w.property(name)) << name;
}

}  // namespace
}  // namespace platform
