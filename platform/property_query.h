#pragma once
// The name a script asks a property by, as each control and window matches it
// against the names it answers. A listing query matches no name and records
// every name tried instead, so running a property chain with it lists what
// that chain answers: the names and the answers come from the same code.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class PropertyQuery {
  public:
    explicit PropertyQuery(std::string_view asked) : asked_(asked) {}
    static PropertyQuery listing();

    // True when the asked name is `name`.
    bool is(std::string_view name);
    // For a form such as "Item(i)" or "SubItems(i,k)": the whole numbers the
    // asked name gives in place of the letters, when it is "Item(3)" or
    // "SubItems(2,1)"; nullopt otherwise.
    std::optional<std::vector<int>> indexes(std::string_view form);

    // The names tried so far by a listing query, each once, in order.
    const std::vector<std::string>& names() const { return names_; }

  private:
    PropertyQuery() : listing_(true) {}
    void record(std::string_view name);

    std::string_view asked_;
    bool listing_ = false;
    std::vector<std::string> names_;
};

}  // namespace platform
