#pragma once
// The name a script asks a property by, as each control and window matches it
// against the names it answers. A listing query matches no name and records
// every name tried instead, so running a property chain with it lists what
// that chain answers: the names and the answers come from the same code.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One index of an indexed property, as the control that answers it describes
// it: what it counts, its lowest value, and the property that bounds it from
// above with that bound's value now (no bound: only the lowest value limits it).
// The texts are the answering code's literals, so a description outlives it.
struct IndexRange {
    std::string_view what;  // "row", "column", "item"
    int low = 0;
    std::string_view bound;  // "Count", "ListCount - 1"; empty for none
    int high = 0;            // the bound's value now
};

// A property read with indexes: its form ("SubItems(i,k)") and the range of
// each letter of the form, in order.
struct IndexedProperty {
    std::string form;
    std::vector<IndexRange> ranges;

    // "Item" for "Item(i)".
    std::string_view name() const { return std::string_view(form).substr(0, form.find('(')); }
    // "a row i from 1 to Count, now 1 to 2, and a column k from 1".
    std::string rangeText() const;
};

class PropertyQuery {
  public:
    explicit PropertyQuery(std::string_view asked) : asked_(asked) {}
    static PropertyQuery listing();

    // True when the asked name is `name`.
    bool is(std::string_view name);
    // For a form such as "Item(i)" or "SubItems(i,k)" with the range of each
    // letter: the whole numbers the asked name gives in place of the letters,
    // when it is "Item(3)" or "SubItems(2,1)" and each lies in its range;
    // nullopt otherwise.
    std::optional<std::vector<int>> indexes(std::string_view form,
                                            std::initializer_list<IndexRange> ranges);

    // The names tried so far by a listing query, each once, in order.
    const std::vector<std::string>& names() const { return names_; }
    // The indexed ones among them, with their ranges.
    const std::vector<IndexedProperty>& indexed() const { return indexed_; }

  private:
    PropertyQuery() : listing_(true) {}
    void record(std::string_view name);

    std::string_view asked_;
    bool listing_ = false;
    std::vector<std::string> names_;
    std::vector<IndexedProperty> indexed_;
};

}  // namespace platform
