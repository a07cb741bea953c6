#include "platform/controls/combo_box.h"

#include <charconv>

#include "platform/text/closest_names.h"
#include "platform/text/hidden_characters.h"

namespace platform {

namespace {
// A whole number written with digits only; nullopt for anything else.
std::optional<int64_t> digitsValue(std::string_view s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s[0] == '-') return std::nullopt;
    return v;
}

// Items listed after a failed choice; a longer list ends with how many more.
constexpr size_t kListedItems = 30;
}  // namespace

ComboBox::ComboBox(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

void ComboBox::AddItem(std::string text) {
    items_.push_back(std::move(text));
}

void ComboBox::AddItem(std::string text, int index) {
    if (index < 0 || index >= ListCount()) return AddItem(std::move(text));
    items_.insert(items_.begin() + index, std::move(text));
    if (listIndex_ >= index) ++listIndex_;
}

void ComboBox::Clear() {
    items_.clear();
    listIndex_ = -1;
}

std::string ComboBox::List(int i) const {
    return inList(i) ? items_[static_cast<size_t>(i)] : "";
}

void ComboBox::setListIndex(int i) {
    const int next = inList(i) ? i : -1;
    if (next == listIndex_) return;
    listIndex_ = next;
    if (next >= 0) raise(onClick);
}

bool ComboBox::userSet(const std::string& value) {
    if (!acceptsInput()) return false;
    std::optional<int64_t> chosen;
    if (!value.empty() && value[0] == '#') {
        chosen = digitsValue(std::string_view(value).substr(1));
        if (chosen && !inList(*chosen)) chosen.reset();
    } else {
        for (size_t i = 0; i < items_.size() && !chosen; ++i)
            if (items_[i] == value) chosen = static_cast<int64_t>(i);
    }
    if (!chosen) throw UserActionError(noSuchItem(value));
    listIndex_ = static_cast<int>(*chosen);
    raise(onClick);
    return true;
}

std::string ComboBox::noSuchItem(const std::string& value) const {
    std::string out = "no such item \"" + value + "\" in " + path() + hiddenCharacterNote(value);
    if (items_.empty()) return out + "; it has no items";
    if (!value.empty() && value[0] == '#')
        return out + "; its items are #0 to #" + std::to_string(items_.size() - 1);
    out += didYouMean(closestNames(value, items_), true) + "; its items:";
    for (size_t i = 0; i < items_.size() && i < kListedItems; ++i)
        out += (i ? ", \"" : " \"") + items_[i] + '"';
    if (items_.size() > kListedItems)
        out += " and " + std::to_string(items_.size() - kListedItems) + " more";
    return out;
}

std::optional<std::string> ComboBox::answerProperty(PropertyQuery& q) const {
    if (q.is("Text")) return Text();
    if (q.is("ListIndex")) return propertyNumber(static_cast<int64_t>(listIndex_));
    if (q.is("ListCount")) return propertyNumber(static_cast<int64_t>(items_.size()));
    if (auto i = q.indexes("List(i)", {{"item", 0, "ListCount - 1", ListCount() - 1}}))
        return items_[static_cast<size_t>((*i)[0])];
    return Control::answerProperty(q);
}

}  // namespace platform
