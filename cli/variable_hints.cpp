#include "cli/variable_hints.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

#include "cli/script_values.h"
#include "core/state_vars.h"
#include "platform/text/closest_names.h"
#include "platform/text/hidden_characters.h"

namespace kavrel {

namespace {
struct Candidate {
    std::string name;
    bool indexed;
    std::optional<StateVarGroup> fields;  // a record's: the group of its fields
};

// The names valid on their own (the bank names with their letters), or
// after a dot when `fields` is a record's group of fields.
std::vector<Candidate> candidates(std::optional<StateVarGroup> fields) {
    std::vector<Candidate> out;
    for (const StateVarName& v : stateVarNames()) {
        const std::string name(v.name);
        if (fields) {
            if (v.group == *fields) out.push_back({name, v.indexed, v.fields});
        } else if (v.group == StateVarGroup::Shared) {
            out.push_back({name, v.indexed, v.fields});
        } else if (v.group == StateVarGroup::Bank) {
            out.push_back({name + 'A', v.indexed, v.fields});
            out.push_back({name + 'B', v.indexed, v.fields});
        }
    }
    return out;
}

const Candidate* named(const std::vector<Candidate>& known, std::string_view name) {
    const auto c = std::find_if(known.begin(), known.end(),
                                [&](const Candidate& k) { return k.name == name; });
    return c == known.end() ? nullptr : &*c;
}

// An index as the name writes it: where its digits stand, and which of its
// name's indexes it is.
struct IndexAt {
    size_t start, length;
    std::string_view owner;  // the name the parentheses follow
    int64_t value;
    size_t position, count;  // among the owner's indexes
};

std::vector<IndexAt> indexesIn(std::string_view name) {
    std::vector<IndexAt> out;
    for (size_t open = name.find('('); open != std::string_view::npos;
         open = name.find('(', open + 1)) {
        const size_t close = name.find(')', open);
        if (close == std::string_view::npos) break;
        const size_t ownerStart =
            open == 0 ? std::string_view::npos : name.find_last_of(".(", open - 1);
        const size_t from = ownerStart == std::string_view::npos ? 0 : ownerStart + 1;
        const std::string_view owner = name.substr(from, open - from);
        const size_t first = out.size();
        for (size_t at = open + 1; at < close;) {
            const size_t end = std::min(name.find(',', at), close);
            size_t s = at, e = end;
            while (s < e && name[s] == ' ') ++s;
            while (e > s && name[e - 1] == ' ') --e;
            int64_t v = 0;
            const auto [ptr, ec] = std::from_chars(name.data() + s, name.data() + e, v);
            if (s == e || ec != std::errc() || ptr != name.data() + e) return {};
            out.push_back({s, e - s, owner, v, out.size() - first, 0});
            at = end + 1;
        }
        for (size_t k = first; k < out.size(); ++k) out[k].count = out.size() - first;
    }
    return out;
}

// Indexes beyond this are never tried: no variable has that many elements.
constexpr int64_t kMaxTriedIndex = int64_t{1} << 20;

struct IndexRange {
    int64_t low, high;
};

// The indexes `at` may take, the others as written; nullopt when none is
// read. Every indexed variable takes a run of indexes from 0 or 1.
std::optional<IndexRange> rangeOf(std::string_view name, const IndexAt& at,
                                  const VariableReadable& readable) {
    const auto readsWith = [&](int64_t v) {
        return readable(std::string(name.substr(0, at.start)) + std::to_string(v) +
                        std::string(name.substr(at.start + at.length)));
    };
    int64_t low = 0;
    if (!readsWith(low) && !readsWith(++low)) return std::nullopt;
    // The last index read: doubled steps past it, then halved back.
    int64_t high = low, step = 1;
    while (high + step <= kMaxTriedIndex && readsWith(high + step)) {
        high += step;
        step *= 2;
    }
    for (; step > 0; step /= 2)
        if (high + step <= kMaxTriedIndex && readsWith(high + step)) high += step;
    return IndexRange{low, high};
}

// " (an index is out of range: the index of dmxSent takes 0 to 1024, not
// 1025)", naming each index that is out.
std::string outOfRange(std::string_view name, const VariableReadable& readable) {
    std::string ranges;
    if (readable) {
        constexpr const char* kOrdinals[] = {"first ", "second ", "third "};
        for (const IndexAt& at : indexesIn(name)) {
            const std::optional<IndexRange> range = rangeOf(name, at, readable);
            if (!range || (at.value >= range->low && at.value <= range->high)) continue;
            const std::string which = at.count > 1 && at.position < 3 ? kOrdinals[at.position] : "";
            ranges += std::string(ranges.empty() ? ": " : "; ") + "the " + which + "index of " +
                      std::string(at.owner) + " takes " + std::to_string(range->low) + " to " +
                      std::to_string(range->high) + ", not " + std::to_string(at.value);
        }
    }
    return " (an index is out of range" + ranges + ")";
}
}  // namespace

std::string unknownVariableMessage(std::string_view name, const VariableReadable& readable) {
    const std::string message =
        "unknown variable " + quotedText(name) + platform::hiddenCharacterNote(name);
    // "effA(0).nmae": the part after the record's dot is looked up among its
    // fields, the rest kept as written.
    const std::vector<Candidate> whole = candidates(std::nullopt);
    const Candidate* record = named(whole, name.substr(0, name.find_first_of("(.")));
    std::string_view prefix, part = name;
    const size_t dot = name.rfind('.');
    const bool inRecord = record && record->fields && dot != std::string_view::npos;
    if (inRecord) {
        prefix = name.substr(0, dot + 1);
        part = name.substr(dot + 1);
    }
    const std::vector<Candidate> known = inRecord ? candidates(record->fields) : whole;
    const std::string_view head = part.substr(0, part.find_first_of("(."));
    const std::string_view rest = part.substr(head.size());
    if (const Candidate* same = named(known, head)) {
        if (!inRecord && same->fields)
            return message + " (its fields follow after a dot: " + std::string(head) +
                   (same->indexed ? "(i)" : "") + ".FIELD)";
        if (!same->indexed && !rest.empty())
            return message + " (" + std::string(head) + " takes no indexes)";
        if (same->indexed && rest.empty()) return message + " (it takes indexes in parentheses)";
        return message + outOfRange(name, readable);
    }
    std::vector<std::string> names;
    for (const Candidate& c : known) names.push_back(c.name);
    std::vector<std::string> shown;
    for (const std::string& n : platform::closestNames(head, names)) {
        const Candidate* c = named(known, n);
        std::string s = std::string(prefix) + n;
        if (c->indexed && rest.starts_with('('))
            s += rest;
        else if (c->indexed)
            s += "(...)";
        else if (c->fields && rest.starts_with('.'))
            s += rest;
        shown.push_back(quotedText(s));
    }
    return message + platform::didYouMean(shown);
}

}  // namespace kavrel
