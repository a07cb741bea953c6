#include "platform/property_query.h"

#include <algorithm>
#include <charconv>

namespace platform {

PropertyQuery PropertyQuery::listing() {
    return PropertyQuery();
}

void PropertyQuery::record(std::string_view name) {
    if (std::find(names_.begin(), names_.end(), name) == names_.end()) names_.emplace_back(name);
}

bool PropertyQuery::is(std::string_view name) {
    if (listing_) record(name);
    return !listing_ && asked_ == name;
}

std::optional<std::vector<int>> PropertyQuery::indexes(std::string_view form) {
    if (listing_) {
        record(form);
        return std::nullopt;
    }
    const size_t open = form.find('(');
    const std::string_view prefix = form.substr(0, open + 1);
    if (!asked_.starts_with(prefix) || !asked_.ends_with(")") || asked_.size() < prefix.size() + 1)
        return std::nullopt;
    std::string_view rest = asked_.substr(prefix.size(), asked_.size() - prefix.size() - 1);
    const size_t count = static_cast<size_t>(std::count(form.begin(), form.end(), ',')) + 1;
    std::vector<int> args;
    while (true) {
        const size_t comma = rest.find(',');
        std::string_view part = rest.substr(0, comma);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        int v = 0;
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size()) {
            return std::nullopt;
        }
        args.push_back(v);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (args.size() != count) return std::nullopt;
    return args;
}

}  // namespace platform
