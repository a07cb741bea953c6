// docs/reference.md against the running program, both ways: every window
// (with its caption and the effect type whose editor it is), every control
// (kind, array indexes) and every variable name `expect var` reads is on the
// page, and the page names nothing the program does not have.
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
#include "platform/window.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

using Names = std::set<std::string>;

// The texts between backticks in a line.
std::vector<std::string> backticked(const std::string& line) {
    std::vector<std::string> out;
    for (size_t open = line.find('`'); open != std::string::npos;) {
        const size_t close = line.find('`', open + 1);
        if (close == std::string::npos) break;
        out.push_back(line.substr(open + 1, close - open - 1));
        open = line.find('`', close + 1);
    }
    return out;
}

// The cells of a table row ("| a | b |"); empty for any other line and for
// the header's rule.
std::vector<std::string> cells(const std::string& line) {
    if (line.rfind("| ", 0) != 0) return {};
    std::vector<std::string> out;
    size_t start = 1;
    for (size_t bar = line.find(" |", start); bar != std::string::npos;
         bar = line.find(" |", start)) {
        std::string cell = line.substr(start, bar - start);
        cell.erase(0, cell.find_first_not_of(' '));
        out.push_back(cell);
        start = bar + 2;
    }
    return out;
}

struct Page {
    std::map<std::string, std::string> captions;  // window -> caption
    std::map<std::string, std::string> editorOf;  // window -> type name or "—"
    Names controls;                               // "Window kind name(indexes)"
    Names vars;                                   // "group name" with "()" when indexed
};

Page readPage() {
    std::ifstream in(std::filesystem::path(KAVREL_SOURCE_DIR) / "docs" / "reference.md");
    EXPECT_TRUE(in) << "docs/reference.md is missing";
    Page page;
    std::string section, window, group, line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            section = line.substr(3);
            continue;
        }
        if (line.rfind("### ", 0) == 0) {
            const auto q = backticked(line);
            window = q.empty() ? "" : q[0];
            group = line.substr(4, line.find(' ', 4) - 4);
            continue;
        }
        const auto row = cells(line);
        if (row.size() < 2 || (backticked(row[0]).empty() && section != "Controls")) continue;
        if (section == "Windows" && row.size() == 4) {
            const std::string name = backticked(row[0])[0];
            const auto caption = backticked(row[1]);
            page.captions[name] = caption.empty() ? "" : caption[0];
            page.editorOf[name] = row[2];
        } else if (section == "Controls") {
            for (const std::string& c : backticked(row[1]))
                page.controls.insert(window + " " + row[0] + " " + c);
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

}  // namespace
}  // namespace kavrel::testing
