#include "cli/variable_hints.h"

#include <algorithm>
#include <vector>

#include "cli/script_values.h"
#include "core/state_vars.h"
#include "platform/closest_names.h"

namespace kavrel {

namespace {
struct Candidate {
    std::string name;
    bool indexed;
};

// The records whose fields follow after a dot.
bool isRecord(std::string_view head) {
    return head == "effA" || head == "effB" || head == "copyBuffer" || head == "fadeList";
}

// The names valid after `record` and a dot (an entry's or a fade's fields),
// or the whole names when `record` is empty.
std::vector<Candidate> candidates(std::string_view record) {
    const bool fade = record == "fadeList";
    std::vector<Candidate> out;
    for (const StateVarName& v : stateVarNames()) {
        const std::string name(v.name);
        if (!record.empty()) {
            if (v.group == (fade ? StateVarGroup::Fade : StateVarGroup::Entry))
                out.push_back({name, v.indexed});
        } else if (v.group == StateVarGroup::Shared) {
            out.push_back({name, v.indexed});
        } else if (v.group == StateVarGroup::Bank) {
            out.push_back({name + 'A', v.indexed});
            out.push_back({name + 'B', v.indexed});
        }
    }
    return out;
}
}  // namespace

std::string unknownVariableMessage(std::string_view name) {
    const std::string message = "unknown variable " + quotedText(name);
    // "effA(0).nmae": the part after the record's dot is looked up among its
    // fields, the rest kept as written.
    std::string_view record = name.substr(0, name.find_first_of("(."));
    std::string_view prefix, part = name;
    const size_t dot = name.rfind('.');
    if (isRecord(record) && dot != std::string_view::npos) {
        prefix = name.substr(0, dot + 1);
        part = name.substr(dot + 1);
    } else {
        record = {};
    }
    const std::vector<Candidate> known = candidates(record);
    const std::string_view head = part.substr(0, part.find_first_of("(."));
    const std::string_view rest = part.substr(head.size());
    const auto same = std::find_if(known.begin(), known.end(),
                                   [&](const Candidate& c) { return c.name == head; });
    if (same != known.end()) {
        if (record.empty() && isRecord(head))
            return message + " (its fields follow after a dot: " +
                   (head == "copyBuffer" ? "copyBuffer" : std::string(head) + "(i)") + ".FIELD)";
        if (!same->indexed && !rest.empty())
            return message + " (" + std::string(head) + " takes no indexes)";
        if (same->indexed && rest.empty()) return message + " (it takes indexes in parentheses)";
        return message + " (an index is out of range)";
    }
    std::vector<std::string> names;
    for (const Candidate& c : known) names.push_back(c.name);
    std::vector<std::string> shown;
    for (const std::string& n : platform::closestNames(head, names)) {
        const auto c = std::find_if(known.begin(), known.end(),
                                    [&](const Candidate& k) { return k.name == n; });
        std::string s = std::string(prefix) + n;
        if (c->indexed && rest.starts_with('('))
            s += rest;
        else if (c->indexed)
            s += "(...)";
        else if (n == "copyBuffer" && rest.starts_with('.'))
            s += rest;
        shown.push_back(quotedText(s));
    }
    return message + platform::didYouMean(shown);
}

}  // namespace kavrel
