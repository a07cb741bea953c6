#include "platform/windows/property_query.h"

#include <algorithm>
#include <charconv>

namespace platform {

std::string IndexedProperty::rangeText() const {
    std::string_view letters = std::string_view(form).substr(form.find('(') + 1);
    std::string out;
    bool boundBefore = false;  // a bound's ", now ..." ends the text so far
    for (const IndexRange& r : ranges) {
        const size_t end = std::min(letters.find_first_of(",)"), letters.size());
        const bool vowel =
            !r.what.empty() && std::string_view("aeiou").find(r.what[0]) != std::string_view::npos;
        if (!out.empty()) out += boundBefore ? ", and " : " and ";
        out.append(vowel ? "an " : "a ").append(r.what).append(" ");
        out.append(letters.substr(0, end)).append(" from ").append(std::to_string(r.low));
        if (!r.bound.empty()) {
            out.append(" to ").append(r.bound);
            if (r.high < r.low)
                out += ", none now";
            else if (r.high == r.low)
                out += ", now " + std::to_string(r.low);
            else
                out += ", now " + std::to_string(r.low) + " to " + std::to_string(r.high);
        }
        boundBefore = !r.bound.empty();
        letters.remove_prefix(std::min(letters.size(), end + 1));
    }
    return out;
}

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

std::optional<std::vector<int>> PropertyQuery::indexes(std::string_view form,
                                                       std::initializer_list<IndexRange> ranges) {
    if (listing_) {
        if (std::find(names_.begin(), names_.end(), form) == names_.end())
            indexed_.push_back(IndexedProperty{std::string(form), ranges});
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
    if (args.size() != count || ranges.size() != count) return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        const IndexRange& r = ranges.begin()[i];
        if (args[i] < r.low || (!r.bound.empty() && args[i] > r.high)) return std::nullopt;
    }
    return args;
}

}  // namespace platform
