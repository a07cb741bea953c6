#include "cli/variable_hints.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/script_values.h"
#include "core/state_vars.h"
#include "platform/closest_names.h"
#include "platform/hidden_characters.h"

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
}  // namespace

std::string unknownVariableMessage(std::string_view name) {
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
        return message + " (an index is out of range)";
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
