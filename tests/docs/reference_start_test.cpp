// docs/reference.md's starting state, new entries, type changes and the
// fields each type keeps against a live session: every value the page gives
// is the one the program reads, and the page names every window shown, every
// field a new entry or a type change sets and every field a type saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/effect.h"
#include "core/project_fields.h"
#include "core/state_vars.h"
#include "platform/windows/window.h"
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

// A change to every entry field but `type` and `name`, made on an entry
// whose counted lists hold one element and the spare after it.
using FieldChange = std::function<void(EffectRecord&)>;
const std::map<std::string, FieldChange>& fieldChanges() {
    static const std::map<std::string, FieldChange> changes{
        {"color1", [](EffectRecord& e) { e.color1 = 0x123456; }},
        {"color2", [](EffectRecord& e) { e.color2 = 0x123456; }},
        {"direction", [](EffectRecord& e) { e.direction = 5; }},
        {"pixels", [](EffectRecord& e) { e.pixels.set(0, 0, 0x00FF00); }},
        {"stretch", [](EffectRecord& e) { e.stretch = 1; }},
        {"tile", [](EffectRecord& e) { e.tile = 1; }},
        {"speed", [](EffectRecord& e) { e.speed = 5; }},
        {"imageCount", [](EffectRecord& e) { e.imageCount = 2; }},
        {"imageNames", [](EffectRecord& e) { e.imageNames[0] = "b"; }},
        {"durations", [](EffectRecord& e) { e.durations[0] = 2.5; }},
        {"imagePaths", [](EffectRecord& e) { e.imagePaths[0] = "q.png"; }},
        {"level", [](EffectRecord& e) { e.level = 5; }},
        {"colorCount", [](EffectRecord& e) { e.colorCount = 2; }},
        {"colors", [](EffectRecord& e) { e.colors[0] = 0x654321; }},
        {"fadeMode", [](EffectRecord& e) { e.fadeMode = 2; }},
        {"beat", [](EffectRecord& e) { e.beat = 1; }},
        {"blend", [](EffectRecord& e) { e.blend = 1; }},
        {"colorValues", [](EffectRecord& e) { e.colorValues[0] = 9; }},
        {"text", [](EffectRecord& e) { e.text = "x"; }},
        {"font", [](EffectRecord& e) { e.font = "x"; }},
        {"backward", [](EffectRecord& e) { e.backward = 1; }},
        {"mirror", [](EffectRecord& e) { e.mirror = 1; }},
        {"letterMode", [](EffectRecord& e) { e.letterMode = 1; }},
    };
    return changes;
}

std::vector<std::string> savedLines(const Effect& effect, const EffectRecord& e) {
    std::vector<std::string> lines;
    const platform::Locale locale = platform::Locale::english();
    FieldWriter out(locale, 12, 12, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    effect.writeFields(e, out);
    return lines;
}

// The fields a type writes into a project file, found by changing one field
// at a time, are those its row lists, in the order of their first lines.
TEST(ReferenceStart, FieldsByTypeAreWhatEachTypeSaves) {
    std::set<std::string> changed;
    for (const auto& [field, change] : fieldChanges()) changed.insert(field);
    for (const StateVarName& v : stateVarNames()) {
        if (v.group == StateVarGroup::Entry && v.name != "type" && v.name != "name") {
            EXPECT_TRUE(changed.count(std::string(v.name))) << "no change for " << v.name;
        }
    }

    KavrelSession s;
    EffectRecord base;
    base.imageCount = 1;
    base.colorCount = 1;
    base.imageNames = {"a", ""};
    base.durations = {1.0, 0.0};
    base.imagePaths = {"a.png", ""};
    base.colors = {1, 0};
    base.colorValues = {1, 0};
    base.pixels.resize(12, 12, 0u);

    std::set<std::string> types;
    for (const auto& row : sectionRows("Fields by type")) {
        const std::string type = backticked(row[0])[0];
        types.insert(type);
        const auto code = std::find(kEffectTypeNames.begin(), kEffectTypeNames.end(), type);
        ASSERT_NE(code, kEffectTypeNames.end()) << type;
        const Effect* effect = s.k().effects().find(code - kEffectTypeNames.begin());
        ASSERT_NE(effect, nullptr) << type;
        const std::vector<std::string> before = savedLines(*effect, base);
        std::map<std::string, size_t> firstLine;  // field -> first line it changes
        for (const auto& [field, change] : fieldChanges()) {
            EffectRecord e = base;
            change(e);
            const std::vector<std::string> after = savedLines(*effect, e);
            size_t at = 0;
            while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
            if (at < before.size() || at < after.size()) firstLine[field] = at;
        }
        std::vector<std::string> listed;
        for (const std::string& f : backticked(row[1])) listed.push_back(f.substr(0, f.find('(')));
        std::set<std::string> saved;
        for (const auto& [field, line] : firstLine) saved.insert(field);
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), saved) << type;
        for (size_t i = 1; i < listed.size(); ++i)
            EXPECT_LE(firstLine[listed[i - 1]], firstLine[listed[i]])
                << type << ": " << listed[i - 1] << " before " << listed[i];
    }
    std::set<std::string> program;
    for (const std::string_view name : kEffectTypeNames) program.insert(std::string(name));
    EXPECT_EQ(types, program) << "a row for every effect type";
}

}  // namespace
}  // namespace kavrel::testing
