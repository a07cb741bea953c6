#pragma once
// A drop-down list: items by 0-based index and the chosen one (ListIndex, -1
// for none).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/control.h"

namespace platform {

class ComboBox : public Control {
  public:
    ComboBox(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "ComboBox"; }
    std::string_view defaultProperty() const override { return "Text"; }

    void AddItem(std::string text);
    // Inserts before item `index` (appends past the end); the chosen item
    // stays chosen. Raises nothing.
    void AddItem(std::string text, int index);
    // Removes every item and the choice; raises nothing.
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    // The item's text; "" outside the list.
    std::string List(int i) const;

    int ListIndex() const { return listIndex_; }
    // Raises Click when a different item becomes chosen. An index outside the
    // list means no choice (-1); becoming unchosen raises nothing.
    void setListIndex(int i);
    // The chosen item's text, "" when none is chosen.
    std::string Text() const { return List(listIndex_); }

    // An item's text (the first item with it) or "#index". The user's choice
    // raises Click even when the same item is chosen again.
    bool userSet(const std::string& value) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    bool inList(int64_t i) const { return i >= 0 && i < static_cast<int64_t>(items_.size()); }
    // The failure of choosing `value`: the nearest items and the whole list.
    std::string noSuchItem(const std::string& value) const;

    std::vector<std::string> items_;
    int listIndex_ = -1;
};

}  // namespace platform
