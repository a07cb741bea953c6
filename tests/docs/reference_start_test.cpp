// docs/reference.md's starting state, new entries and type changes against a
// live session: every value the page gives is the one the program reads, and
// the page names every window shown and every field a new entry or a type
// change sets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/effect.h"
#include "core/state_vars.h"
#include "platform/window.h"
#include "tests/core/kavrel_session.h"
#include "tests/docs/markdown_table.h"

namespace kavrel::testing {
namespace {

// The rows of one `## ` section whose first cell names something in backticks.
std::vector<std::vector<std::string>> sectionRows(const std::string& section) {
    std::ifstream in(std::filesystem::path(KAVREL_SOURCE_DIR) / "docs" / "reference.md");
    EXPECT_TRUE(in) << "docs/reference.md is missing";
    std::vector<std::vector<std::string>> rows;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0) inside = line.substr(3) == section;
        const auto row = cells(line);
        if (inside && row.size() >= 2 && !backticked(row[0]).empty()) rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << "no table under ## " << section;
    return rows;
}

// "`type` `0` (Color), `name` `new effect`" as {type: 0, name: new effect}.
std::map<std::string, std::string> fieldPairs(const std::string& cell) {
    const std::vector<std::string> q = backticked(cell);
    EXPECT_EQ(q.size() % 2, 0u) << cell;
    std::map<std::string, std::string> out;
    for (size_t i = 0; i + 1 < q.size(); i += 2) out[q[i]] = q[i + 1];
    return out;
}

std::string readVar(KavrelSession& s, const std::string& name) {
    return readStateVar(s.state(), name).value_or("(no such variable)");
}

// Every field of an entry, an indexed one at its lowest indexes ("colors(0)",
// "pixels(0,0)"); absent where the entry holds no element.
std::map<std::string, std::string> entryFields(KavrelSession& s, const std::string& entry) {
    std::map<std::string, std::string> out;
    for (const StateVarName& v : stateVarNames()) {
        if (v.group != StateVarGroup::Entry) continue;
        const std::string name(v.name);
        if (!v.indexed) {
            out[name] = readVar(s, entry + "." + name);
            continue;
        }
        for (const std::string& at : {name + "(0)", name + "(0,0)"})
            if (auto value = readStateVar(s.state(), entry + "." + at)) out[at] = *value;
    }
    return out;
}

TEST(ReferenceStart, StartingStateIsWhatASessionOpensWith) {
    KavrelSession s;
    std::set<std::string> listedShown, shown;
    for (const auto& row : sectionRows("Starting state")) {
        const std::string read = backticked(row[0])[0];
        const std::string value = backticked(row[1]).at(0);
        const std::string found =
            read.rfind("var ", 0) == 0 ? readVar(s, read.substr(4)) : s.prop(read);
        EXPECT_EQ(found, value) << read;
        if (read.ends_with(".Visible") && value == "True")
            listedShown.insert(read.substr(0, read.find('.')));
    }
    platform::Desktop& d = s.plugin().desktop();
    for (const std::string& name : d.windowNames())
        if (const platform::Window* w = d.peekWindow(name); w != nullptr && w->Visible())
            shown.insert(name);
    EXPECT_EQ(shown, listedShown) << "the windows shown at the start";

    orva::StartOptions german;
    german.locale = platform::Locale::german();
    KavrelSession de(german);
    EXPECT_EQ(de.prop("MatrixForm.fadeTimeText.Text"), "3,00");
}

TEST(ReferenceStart, NewEntriesHoldTheListedFieldsAndNoOther) {
    for (const auto& row : sectionRows("New entries and type changes")) {
        const std::string button = backticked(row[0])[0];
        if (button.rfind("MatrixForm.add", 0) != 0) continue;
        KavrelSession s;
        ASSERT_TRUE(s.driver.click(button)) << button;
        const std::string list = "MatrixForm.efx" + button.substr(button.size() - 1) + "List";
        const std::string entry = "eff" + button.substr(button.size() - 1) + "(" +
                                  s.prop(list + ".SubItems(" + s.prop(list + ".Count") + ",1)") +
                                  ")";
        const auto listed = fieldPairs(row[1]);
        for (const auto& [field, value] : entryFields(s, entry)) {
            const auto at = listed.find(field);
            if (at != listed.end()) {
                EXPECT_EQ(value, at->second) << button << " " << field;
            } else {
                EXPECT_TRUE(value == "0" || value.empty())
                    << button << " " << field << " " << value;
            }
        }
        for (const auto& [field, value] : listed)
            EXPECT_EQ(readVar(s, entry + "." + field), value) << button << " " << field;
    }
}

TEST(ReferenceStart, TypeChangesSetTheListedFieldsAndKeepTheOthers) {
    std::set<std::string> types;
    for (const auto& row : sectionRows("New entries and type changes")) {
        const std::string type = backticked(row[0])[0];
        if (type.rfind("MatrixForm.", 0) == 0) continue;
        types.insert(type);
        KavrelSession s;
        // A type change applies defaults only when the type changes: the new
        // entry is a Color one, so Color comes from another type.
        if (type == s.prop("MatrixForm.typeA.Text")) {
            ASSERT_TRUE(s.driver.set("MatrixForm.typeA", std::string(kEffectTypeNames.back())));
        }
        const auto before = entryFields(s, "effA(0)");
        ASSERT_TRUE(s.driver.set("MatrixForm.typeA", type)) << type;
        const auto after = entryFields(s, "effA(0)");
        const auto listed = fieldPairs(row[1]);
        for (const auto& [field, value] : listed)
            EXPECT_EQ(readVar(s, "effA(0)." + field), value) << type << " " << field;
        for (const auto& [field, value] : after) {
            const auto was = before.find(field);
            // Besides `type`, the change itself.
            if (field != "type" && (was == before.end() || was->second != value)) {
                EXPECT_TRUE(listed.count(field)) << type << " sets " << field << " to " << value;
            }
        }
    }
    std::set<std::string> program;
    for (const std::string_view name : kEffectTypeNames) program.insert(std::string(name));
    EXPECT_EQ(types, program) << "a row for every effect type";
}

}  // namespace
}  // namespace kavrel::testing
