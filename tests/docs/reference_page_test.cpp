// docs/reference.md against the running program, both ways: every window
// (with its caption and the effect type whose editor it is), every control
// (kind, array indexes), every property each kind and window answers and the
// one `set` changes, every combo box's items, every slider's range, the
// direction buttons and every variable name `expect var` reads is on the page,
// and the page names nothing the program does not have.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/effect.h"
#include "core/state_vars.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/slider.h"
#include "platform/windows/window.h"
#include "tests/cli/run_kavrel.h"
#include "tests/core/kavrel_session.h"
#include "tests/docs/markdown_table.h"
#include "tests/support/lowest_element.h"
#include "tests/support/temp_folder.h"

namespace kavrel::testing {
namespace {

using Names = std::set<std::string>;
using kavrel_test::lowestElement;

struct Page {
    std::map<std::string, std::string> captions;  // window -> caption
    std::map<std::string, std::string> editorOf;  // window -> type name or "—"
    Names controls;                               // "Window kind name(indexes)"
    Names vars;                                   // "group name" with "()" when indexed
    // Properties by table ("Every control", a kind, "Window", "Window `W`").
    std::map<std::string, Names> properties;
    std::map<std::string, std::string> meanings;    // "table property" -> its meaning
    Names settable;                                 // "table property" marked `set`
    Names pixelWindows;                             // named in the window's ScaleWidth row
    std::map<std::string, std::string> comboItems;  // "W.name(indexes)" -> "a|b|..."
    Names sliders;                                  // "W.name min max"
    std::map<std::string, Names> directions;        // "W.richtung(indexes)" -> indexes listed
};

Page readPage() {
    std::ifstream in(std::filesystem::path(KAVREL_SOURCE_DIR) / "docs" / "reference.md");
    EXPECT_TRUE(in) << "docs/reference.md is missing";
    Page page;
    std::string section, window, group, table, line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            section = line.substr(3);
            continue;
        }
        if (line.rfind("### ", 0) == 0) {
            const auto q = backticked(line);
            window = q.empty() ? "" : q[0];
            group = line.substr(4, line.find(' ', 4) - 4);
            table = line.substr(4);
            continue;
        }
        const auto row = cells(line);
        if (row.size() < 2) continue;
        if (section == "Direction buttons") {
            if (row[0] != "Index" && !window.empty()) page.directions[window].insert(row[0]);
            continue;
        }
        if (backticked(row[0]).empty() && section != "Controls") continue;
        if (section == "Windows" && row.size() == 4) {
            const std::string name = backticked(row[0])[0];
            const auto caption = backticked(row[1]);
            page.captions[name] = caption.empty() ? "" : caption[0];
            page.editorOf[name] = row[2];
        } else if (section == "Controls") {
            for (const std::string& c : backticked(row[1]))
                page.controls.insert(window + " " + row[0] + " " + c);
        } else if (section == "Properties" && row.size() == 3) {
            const std::string name = backticked(row[0])[0];
            page.properties[table].insert(name);
            page.meanings[table + " " + name] = row[2];
            if (row[1].rfind("`set`", 0) == 0) page.settable.insert(table + " " + name);
            if (table == "Window" && name == "ScaleWidth")
                for (const std::string& w : backticked(row[2])) page.pixelWindows.insert(w);
        } else if (section == "Combo boxes" && row.size() == 3) {
            std::string items;
            for (const std::string& item : backticked(row[1])) items += item + "|";
            for (const std::string& box : backticked(row[0])) page.comboItems[box] = items;
        } else if (section == "Sliders" && row.size() == 4) {
            page.sliders.insert(backticked(row[0])[0] + " " + row[1] + " " + row[2]);
        } else if (section == "Variables") {
            const std::string text = backticked(row[0])[0];
            const size_t end = text.find_first_of("(.");
            const bool indexed = end != std::string::npos && text[end] == '(';
            page.vars.insert(group + " " + text.substr(0, end) + (indexed ? "()" : ""));
        }
    }
    return page;
}

// "(0-10)" for consecutive indexes, "(1,3,5,7)" otherwise.
std::string indexText(const std::vector<int>& indexes) {
    if (indexes.empty()) return "";
    bool consecutive = true;
    for (size_t i = 1; i < indexes.size(); ++i) consecutive &= indexes[i] == indexes[i - 1] + 1;
    std::string text(1, '(');
    if (consecutive) {
        text.append(std::to_string(indexes.front())).append("-");
        text.append(std::to_string(indexes.back()));
    } else {
        for (size_t i = 0; i < indexes.size(); ++i)
            text.append(i == 0 ? "" : ",").append(std::to_string(indexes[i]));
    }
    return text.append(")");
}

Names programControls(platform::Window& w) {
    std::map<std::string, std::vector<int>> arrays;  // "kind name" -> indexes
    for (const platform::Control* c : w.controls()) {
        std::vector<int>& indexes = arrays[std::string(c->kind()) + " " + c->name()];
        if (c->index() >= 0) indexes.push_back(c->index());
    }
    Names names;
    for (auto& [kindAndName, indexes] : arrays) {
        std::sort(indexes.begin(), indexes.end());
        names.insert(w.name() + " " + kindAndName + indexText(indexes));
    }
    return names;
}

// What is in `a` and not in `b`, for the failure message.
std::string without(const Names& a, const Names& b) {
    std::string out;
    for (const std::string& n : a)
        if (!b.count(n)) out += "\n  " + n;
    return out;
}

void expectSame(const Names& program, const Names& page, const char* what) {
    EXPECT_TRUE(program == page) << what
                                 << " the program has and the page lacks:" << without(program, page)
                                 << "\n"
                                 << what << " the page names and the program lacks:"
                                 << without(page, program);
}

// The windows visible besides the main window.
Names openWindows(KavrelSession& s) {
    Names names;
    platform::Desktop& d = s.plugin().desktop();
    for (const std::string& n : d.windowNames()) {
        const platform::Window* w = d.peekWindow(n);
        if (n != "MatrixForm" && w != nullptr && w->Visible()) names.insert(n);
    }
    return names;
}

TEST(ReferencePage, NamesEveryWindowAndControlOfTheProgramAndNoOther) {
    const Page page = readPage();
    KavrelSession s;
    platform::Desktop& d = s.plugin().desktop();
    Names programWindows, pageWindows, programControlNames;
    for (const std::string& name : d.windowNames()) {
        platform::Window* w = d.window(name);
        ASSERT_NE(w, nullptr) << name;
        programWindows.insert(name + " `" + w->Caption() + "`");
        const Names controls = programControls(*w);
        programControlNames.insert(controls.begin(), controls.end());
    }
    for (const auto& [name, caption] : page.captions)
        pageWindows.insert(name + " `" + caption + "`");
    expectSame(programWindows, pageWindows, "windows (with captions)");
    expectSame(programControlNames, page.controls, "controls");
}

TEST(ReferencePage, EditorColumnNamesTheWindowsEachEditButtonOpens) {
    const Page page = readPage();
    for (const std::string_view type : kEffectTypeNames) {
        KavrelSession s;
        ASSERT_TRUE(s.driver.set("MatrixForm.typeA", std::string(type)));
        ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
        Names opened = openWindows(s);
        // The Images editor opens its picture list from a button of its own.
        if (opened.count("MxImageForm")) {
            ASSERT_TRUE(s.driver.click("MxImageForm.BImage"));
            opened = openWindows(s);
        }
        Names listed;
        for (const auto& [window, editorOf] : page.editorOf)
            if (editorOf == type) listed.insert(window);
        EXPECT_FALSE(opened.empty()) << type;
        EXPECT_EQ(opened, listed) << "editors of " << type;
    }
    for (const auto& [window, editorOf] : page.editorOf)
        EXPECT_TRUE(editorOf == "—" || std::find(kEffectTypeNames.begin(), kEffectTypeNames.end(),
                                                 editorOf) != kEffectTypeNames.end())
            << window << ": " << editorOf;
}

TEST(ReferencePage, NamesEveryVariableOfTheProgramAndNoOther) {
    constexpr std::array<const char*, 4> kGroups{"Shared", "Per", "Entry", "Fade"};
    Names program;
    for (const StateVarName& v : stateVarNames())
        program.insert(std::string(kGroups[static_cast<size_t>(v.group)]) + " " +
                       std::string(v.name) + (v.indexed ? "()" : ""));
    expectSame(program, readPage().vars, "variables");
}

// Every control of every window, each window loaded as a script first names it.
std::vector<platform::Control*> everyControl(KavrelSession& s) {
    std::vector<platform::Control*> all;
    platform::Desktop& d = s.plugin().desktop();
    for (const std::string& name : d.windowNames()) {
        const auto controls = d.window(name)->controls();
        all.insert(all.end(), controls.begin(), controls.end());
    }
    return all;
}

// How the page gives an index's range: "row `i`, from 1 to `Count`".
std::string rangeOnPage(const platform::IndexedProperty& p, size_t arg) {
    const platform::IndexRange& r = p.ranges[arg];
    std::string letters = p.form.substr(p.form.find('(') + 1);
    for (size_t i = 0; i < arg; ++i) letters.erase(0, letters.find(',') + 1);
    std::string text = std::string(r.what) + " `" + letters.substr(0, letters.find_first_of(",)")) +
                       "`, from " + std::to_string(r.low);
    if (!r.bound.empty()) text += " to `" + std::string(r.bound) + '`';
    return text;
}

TEST(ReferencePage, PropertyTablesListWhatEveryKindAndWindowAnswers) {
    const Page page = readPage();
    KavrelSession s;
    std::map<std::string, std::vector<platform::Control*>> byKind;
    for (platform::Control* c : everyControl(s)) byKind[c->kind()].push_back(c);
    Names program, listed;
    for (const auto& [kind, controls] : byKind) {
        for (const std::string& n : controls.front()->propertyNames())
            program.insert(kind + " " + n);
        const auto own = page.properties.find(kind);
        if (own == page.properties.end()) continue;
        for (const auto* table : {&page.properties.at("Every control"), &own->second})
            for (const std::string& n : *table) {
                listed.insert(kind + " " + n);
                // Some control of the kind answers it (lists and combos have a first row).
                EXPECT_TRUE(std::any_of(controls.begin(), controls.end(),
                                        [&](const platform::Control* c) {
                                            return c->property(lowestElement(*c, n)).has_value();
                                        }))
                    << kind << "." << n;
            }
        // Each index's range as the kind describes it, in the words messages use.
        for (const platform::IndexedProperty& p : controls.front()->indexedProperties())
            for (size_t arg = 0; arg < p.ranges.size(); ++arg)
                EXPECT_NE(page.meanings.at(kind + " " + p.form).find(rangeOnPage(p, arg)),
                          std::string::npos)
                    << kind << "." << p.form << " should say: " << rangeOnPage(p, arg);
    }
    for (const auto& [table, names] : page.properties)
        if (table != "Every control" && table.rfind("Window", 0) != 0 && !byKind.count(table))
            listed.insert(table + " (no such kind)");
    expectSame(program, listed, "control properties");

    platform::Desktop& d = s.plugin().desktop();
    Names programWindows, listedWindows, pixelWindows;
    for (const std::string& name : d.windowNames()) {
        const platform::Window& w = *d.window(name);
        for (const std::string& n : w.propertyNames()) {
            programWindows.insert(name + " " + n);
            EXPECT_TRUE(w.property(n).has_value()) << name << "." << n;
        }
        for (const std::string& table : {std::string("Window"), "Window `" + name + "`"})
            if (page.properties.count(table))
                for (const std::string& n : page.properties.at(table))
                    listedWindows.insert(name + " " + n);
        if (w.scaleMode() == platform::ScaleMode::Pixels) pixelWindows.insert(name);
    }
    expectSame(programWindows, listedWindows, "window properties");
    expectSame(pixelWindows, page.pixelWindows, "windows measured in pixels");
}

// A value `set` gives each kind's marked property, and what it then reads.
struct SetSample {
    const char* kindAndProperty;
    const char* before;  // lines that make the control available
    const char* target;
    const char* value;
    const char* reads;
};
constexpr SetSample kSetSamples[] = {
    {"CheckBox Value", "", "MatrixForm.dmx_active", "1", "1"},
    {"ComboBox ListIndex", "", "MatrixForm.fadeType", "#4", "4"},
    {"ComboBox Text", "", "MatrixForm.fadeType", "Random", "Random"},
    {"OptionButton Value", "click MatrixForm.vovev_active\n", "MxDxSimConf.DDMode(1)", "1", "True"},
    {"Slider Value", "", "MatrixForm.faderM", "-30", "-30"},
    {"TextBox Text", "", "MatrixForm.fadeName", "front", "front"},
};

class ReferencePageSet : public ::testing::Test {
  protected:
    hosttest::ProgramRun run(const std::string& script) {
        std::ofstream(dir_ / "set.kav") << script;
        return hosttest::runKavrelIn(dir_.path(), "set.kav");
    }
    const kavrel_test::TempFolder dir_{"kavrel-reference-set"};
};

TEST_F(ReferencePageSet, SetChangesTheMarkedPropertyAndNoKindWithoutOne) {
    const Page page = readPage();
    Names sampled;
    std::set<std::string> settableKinds;
    for (const SetSample& sample : kSetSamples) {
        sampled.insert(sample.kindAndProperty);
        const std::string kp = sample.kindAndProperty;
        settableKinds.insert(kp.substr(0, kp.find(' ')));
        const auto r = run(std::string("open\n") + sample.before + "set " + sample.target + " " +
                           sample.value + "\nexpect " + sample.target + "." +
                           kp.substr(kp.find(' ') + 1) + " " + sample.reads + "\n");
        EXPECT_EQ(r.status, 0) << kp << ": " << r.output;
    }
    expectSame(sampled, page.settable, "properties set changes");
    // Every other kind refuses `set`, whatever the control's state.
    KavrelSession s;
    Names refused;
    for (const platform::Control* c : everyControl(s)) {
        if (settableKinds.count(c->kind()) || refused.count(c->kind())) continue;
        refused.insert(c->kind());
        const auto r = run("open\nset " + c->path() + " 1\n");
        EXPECT_EQ(r.status, 2) << c->path() << ": " << r.output;
        EXPECT_NE(r.output.find("kavrel: line 2: "), std::string::npos) << r.output;
    }
    EXPECT_GE(refused.size(), 8u);
}

// "W.name(indexes)" for an array whose members hold the same, else per member.
template <typename Describe>
std::map<std::string, std::string> byArray(const std::vector<platform::Control*>& controls,
                                           Describe describe) {
    std::map<std::string, std::map<int, std::string>> arrays;
    for (const platform::Control* c : controls)
        arrays[c->parent().name() + "." + c->name()][c->index()] = describe(*c);
    std::map<std::string, std::string> out;
    for (const auto& [name, members] : arrays) {
        std::vector<int> indexes;
        bool same = true;
        for (const auto& [i, text] : members) {
            if (i >= 0) indexes.push_back(i);
            same &= text == members.begin()->second;
        }
        if (same) {
            out[name + indexText(indexes)] = members.begin()->second;
        } else {
            for (const auto& [i, text] : members) out[name + "(" + std::to_string(i) + ")"] = text;
        }
    }
    return out;
}

std::string describeCombo(const platform::Control& c) {
    const auto& box = dynamic_cast<const platform::ComboBox&>(c);
    std::string items;
    for (int i = 0; i < box.ListCount(); ++i) items += box.List(i) + "|";
    return items;
}

std::string describeSlider(const platform::Control& c) {
    const auto& slider = dynamic_cast<const platform::Slider&>(c);
    return std::to_string(slider.Min()) + " " + std::to_string(slider.Max());
}

Names asNames(const std::map<std::string, std::string>& m) {
    Names out;
    for (const auto& [k, v] : m) out.insert(k + " " + v);
    return out;
}

TEST(ReferencePage, ComboItemsAndSliderRangesAreThoseTheWindowsLoadWith) {
    const Page page = readPage();
    KavrelSession s;
    std::vector<platform::Control*> combos, sliders;
    for (platform::Control* c : everyControl(s)) {
        if (dynamic_cast<platform::ComboBox*>(c)) combos.push_back(c);
        if (dynamic_cast<platform::Slider*>(c)) sliders.push_back(c);
    }
    expectSame(asNames(byArray(combos, describeCombo)), asNames(page.comboItems), "combo items");
    expectSame(asNames(byArray(sliders, describeSlider)), page.sliders, "slider ranges");
}

TEST(ReferencePage, DirectionTablesListTheShownButtonsOfEveryDirectionArray) {
    const Page page = readPage();
    KavrelSession s;
    std::vector<platform::Control*> buttons;
    for (platform::Control* c : everyControl(s))
        if (c->name() == "richtung") buttons.push_back(c);
    // Every member of an array describes alike, so each array is one name.
    Names program, listed;
    for (const auto& [array, same] : byArray(buttons, [](const platform::Control&) { return ""; }))
        program.insert(array);
    for (const auto& [array, indexes] : page.directions) listed.insert(array);
    expectSame(program, listed, "direction arrays");
    for (const auto& [array, indexes] : page.directions) {
        Names visible;
        for (const platform::Control* c : buttons)
            if (array.rfind(c->parent().name() + "." + c->name() + "(", 0) == 0 && c->Visible())
                visible.insert(std::to_string(c->index()));
        expectSame(visible, indexes, (array + " shown indexes").c_str());
    }
}

}  // namespace
}  // namespace kavrel::testing
