#include "platform/property_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/combo_box.h"
#include "platform/desktop.h"
#include "platform/list_view.h"
#include "platform/timer_control.h"
#include "platform/window.h"

namespace platform {
namespace {

using Ints = std::vector<int>;

// "Item(i)" as "Item(1)", "SubItems(i,k)" as "SubItems(1,1)": the first row,
// column or item.
std::string firstIndexes(const std::string& name, const std::string& first) {
    const size_t open = name.find('(');
    if (open == std::string::npos) return name;
    std::string out = name.substr(0, open + 1) + first;
    for (size_t i = open; i < name.size(); ++i)
        if (name[i] == ',') out += "," + first;
    return out + ")";
}

TEST(PropertyQuery, MatchesPlainNamesExactlyAndIndexesOfTheFormsShape) {
    PropertyQuery plain("Value");
    EXPECT_TRUE(plain.is("Value"));
    EXPECT_FALSE(plain.is("value"));
    EXPECT_FALSE(plain.indexes("Value(i)"));

    PropertyQuery one("Item(3)");
    EXPECT_FALSE(one.is("Item"));
    EXPECT_EQ(one.indexes("Item(i)"), Ints{3});
    EXPECT_FALSE(one.indexes("ItemForeColor(i)"));
    EXPECT_FALSE(one.indexes("SubItems(i,k)"));

    EXPECT_EQ(PropertyQuery("SubItems(2,1)").indexes("SubItems(i,k)"), (Ints{2, 1}));
    for (const char* bad : {"Item()", "Item(1,2)", "Item(x)", "Item(1", "Item(99999999999)"})
        EXPECT_FALSE(PropertyQuery(bad).indexes("Item(i)")) << bad;
    EXPECT_FALSE(PropertyQuery("SubItems(2)").indexes("SubItems(i,k)"));
    // A listing query never matches, so a chain runs to its end.
    PropertyQuery listing = PropertyQuery::listing();
    EXPECT_FALSE(listing.is(""));
    EXPECT_FALSE(listing.indexes("List(i)"));
    EXPECT_EQ(listing.names(), (std::vector<std::string>{"", "List(i)"}));
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
            EXPECT_TRUE(c->property(firstIndexes(name, c == &combo ? "0" : "1")))
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
