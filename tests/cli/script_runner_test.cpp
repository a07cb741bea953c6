#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/line_source.h"
#include "cli/script_runner.h"
#include "tests/host/fake_plugin.h"
#include "tests/support/identity_of.h"
#include "tests/support/temp_folder.h"

using hosttest::FakeRecord;
using kavrel::ScriptRunner;
using Calls = std::vector<std::string>;

namespace {
struct Session {
    FakeRecord record;
    std::ostringstream out, err;
    orva::StartOptions start;
    bool wantsBeat = true;
    bool projectInfoFails = false;
    std::string project;
    bool typed = false;
    std::optional<platform::FileIdentity> scriptFile;

    int run(const std::string& script) {
        std::istringstream in(script);
        kavrel::StreamLineSource lines(in);
        ScriptRunner runner(hosttest::fakeFactory(record, wantsBeat), start, out, err);
        if (typed) runner.setTyped(false);
        runner.host().setProjectFile(project);
        runner.host().setProjectInfoFails(projectInfoFails);
        runner.setScriptFile(scriptFile);
        return runner.run(lines);
    }
};

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}
}  // namespace

TEST(HostScript, PlaysUserAndHostActionsThenUnloadsThePlugin) {
    Session s;
    s.project = "/shows/party.Kavrel";
    const int status = s.run(
        "open\n"
        "expect TestForm.Caption \"Fake - party.Kavrel\"\n"
        "set TestForm.text \"new caption\"\n"
        "expect TestForm.Caption \"new caption\"\n"
        "click TestForm.check\n"
        "expect TestForm.check.Value 1\n"
        "expect dmx 2 255\n"
        "set TestForm.combo \"#2\"\n"
        "expect TestForm.combo.Text Fire\n"
        "set TestForm.combo #0\n"
        "expect TestForm.combo.Text Color\n"
        "set TestForm.combo Gradient\n"
        "expect TestForm.combo.ListIndex 1\n"
        "set TestForm.slider 40\n"
        "expect TestForm.slider.Value 40.0\n"
        "set TestForm.opt(1) 1\n"
        "expect TestForm.opt(1).Value True\n"
        "expect TestForm.opt(0).Value False\n"
        "select TestForm.list 2\n"
        "expect TestForm.list.SelectedIndex 2\n"
        "edit TestForm.list 1 1 \"a cell\"\n"
        "expect var cell \"a cell\"\n"
        "command \"set fader\" select 0,25\n"
        "beat\n"
        "command \"send beat signal\"\n"
        "quit\n"
        "click TestForm.go\n");
    EXPECT_EQ(status, kavrel::kExitOk) << s.err.str();
    EXPECT_EQ(s.err.str(), "");
    EXPECT_EQ(s.out.str(), "");  // the line after quit showed no message
    EXPECT_EQ(s.record.beats, 2);
    EXPECT_DOUBLE_EQ(s.record.fader, 0.25);
    EXPECT_EQ(s.record.commandOption, "do");
    EXPECT_EQ(s.record.calls,
              (Calls{"Init", "getModuleInfo", "loadWindow", "showWindow", "unloadWindow", "Term"}));
}

TEST(HostScript, FailedExpectNamesTheLineAndTheFoundValueAndStops) {
    Session s;
    const int status = s.run(
        "open\n"
        "# a comment\n"
        "expect TestForm.Caption Other\n"
        "print var ticks\n");
    EXPECT_EQ(status, kavrel::kExitExpectFailed);
    EXPECT_EQ(s.err.str(),
              "kavrel: line 3: expect TestForm.Caption: found \"Fake\", expected \"Other\"\n");
    EXPECT_EQ(s.out.str(), "");
    // After a failure the plug-in is released without running more of its code.
    EXPECT_EQ(s.record.calls, (Calls{"Init", "getModuleInfo", "loadWindow", "showWindow"}));
}

TEST(HostScript, ExpectComparesNumbersAsNumbersAndEverythingElseAsText) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"expect var half 0.50", 0},
        {"expect var half \"0,5\"", 0},
        {"expect var half 0.51", 1},
        {"expect TestForm.pic.BackColor 16744448", 0},  // rgb(0, 128, 255) as decimal
        {"expect TestForm.pic.BackColor 16744448.0", 0},
        {"expect TestForm.Caption fake", 1},
        {"expect TestForm.off.Enabled False", 0},
        {"expect TestForm.off.Enabled 0", 1},
        {"expect message \"\"", 0},
    };
    for (const auto& [line, expected] : cases) {
        Session s;
        EXPECT_EQ(s.run("open\n" + line + "\n"), expected) << line << '\n' << s.err.str();
    }
}

TEST(HostScript, IndexedPropertiesTakeWholeNumbersAndNothingElse) {
    Session s;
    EXPECT_EQ(s.run("open\n"
                    "edit TestForm.list 2 1 \"a cell\"\n"
                    "expect TestForm.list.Item(2) two\n"
                    "expect TestForm.list.SubItems(2,1) \"a cell\"\n"
                    "expect TestForm.list.ItemForeColor(1) 0\n"
                    "print TestForm.combo.List(2)\n"),
              kavrel::kExitOk)
        << s.err.str();
    EXPECT_EQ(s.out.str(), "Fire\n");
    for (const char* word : {"Item(x)", "Item(-1)", "Item(1.5)", "Item()", "Item(1,)", "Item(,1)",
                             "Item(1)x", "Item(1", "Item1)", "(1)", "Item((1))", "Item(1)(2)",
                             "SubItems(1;1)", "Item(1234567890)"}) {
        Session bad;
        const std::string path = std::string("TestForm.list.") + word;
        EXPECT_EQ(bad.run("open\nprint " + path + "\n"), kavrel::kExitScriptError) << word;
        EXPECT_EQ(bad.err.str(), "kavrel: line 2: bad property \"" + path +
                                     "\" (expected Window.Property or Window.control.Property)\n")
            << word;
    }
    Session past;  // well formed, but no such row
    EXPECT_EQ(past.run("open\nprint TestForm.list.Item(3)\n"), kavrel::kExitScriptError);
    EXPECT_EQ(past.err.str(),
              "kavrel: line 2: unknown property: TestForm.list.Item(3) (out of range: Item(i) "
              "takes a row i from 1 to Count, now 1 to 2)\n");
}

TEST(HostScript, EveryBadLineIsAScriptErrorWithItsLineNumber) {
    const char* bad[] = {
        "frobnicate",
        "open",  // open already
        "click",
        "click TestForm.go extra",
        "click Test-Form",
        "click Nowhere.go",
        "click TestForm.nothing",
        "click TestForm.go \"unclosed",
        "dblclick TestForm",
        "set TestForm.text",
        "set TestForm",
        "set TestForm.check 3",
        "set TestForm.go 1",
        "set TestForm.opt(0) 0",
        "select TestForm.list 0",
        "select TestForm.list x",
        "select TestForm.list 1 -1",
        "select TestForm.go 1",
        "edit TestForm.list 1 1",
        "spin TestForm.list sideways",
        "key TestForm.text 256",
        "key TestForm.text a",
        "mouse press TestForm.pic 1 1",
        "mouse down TestForm.pic 1",
        "mouse down TestForm.pic 1 y",
        "mouse down TestForm.pic 1 1e30",
        "mouse down TestForm.pic 1 1 9",
        "mouse down TestForm.pic 1 1 1 8",
        "answer",
        "answer file",
        "answer font Arial",
        "answer font Arial 0",
        "answer font Arial 12 bold bold",
        "answer font Arial 12 heavy",
        "answer cancel now",
        "answer folder x",
        "hold",
        "hold on",
        "beat 1",
        "wait",
        "wait -1",
        "wait 1.5",
        "wait 3600001",
        "command",
        "command \"no such command\"",
        "command \"set fader\" select x",
        "close",
        "close TestForm.go",
        "close Nowhere",
        "expect",
        "expect TestForm.Caption",
        "expect TestForm.NoSuchProperty 1",
        "expect Nowhere.Caption 1",
        "expect message",
        "expect var",
        "expect var nosuch 1",
        "expect frame C 0 0 0 0 0",
        "expect frame M 0 0 0 0",
        "expect frame M 0 0 256 0 0",
        "expect frame M -1 0 0 0 0",
        "expect dmx 0 1",
        "expect dmx 1 256",
        "expect file",
        "expect something 1",
        "print",
        "print var nosuch",
        "print frame Q",
        "print dmx 1",
        "print TestForm.Caption extra",
        "snapshot TestForm.pic",
        "snapshot TestForm.text out.png",
        "quit now",
        "expect var half 0.5 0.1",
        "expect var half 0.5 ~",
        "expect var half 0.5 ~x",
        "expect var half 0.5 ~-0.1",
        "expect var half x ~0.1",
        "expect var half between 1",
        "expect var half between 0.6 0.4",
        "expect var half between 0 x",
        "expect dmx 1 between 0",
        "expect TestForm..Caption 1",
        "expect TestForm.Cap-tion 1",
        "print TestForm.go.",
        "expect pixel TestForm.text 0 0 0 0 0",
        "expect pixel TestForm.pic 0 0 0 0",
        "expect pixel TestForm.pic 0 -1 0 0 0",
        "expect pixel TestForm.pic 0 0 0 0 256",
        "expect pixel TestForm.nothing 0 0 0 0 0",
        "grid 4x4",
        "locale de",
    };
    for (const char* line : bad) {
        Session s;
        const int status = s.run(std::string("open\n# checks\n") + line + "\nquit\n");
        EXPECT_EQ(status, kavrel::kExitScriptError) << line;
        EXPECT_TRUE(startsWith(s.err.str(), "kavrel: line 3: ")) << line << ": " << s.err.str();
    }
}

TEST(HostScript, EveryLineButCommentsNeedsAnOpenPlugin) {
    Session s;
    EXPECT_EQ(s.run("# nothing yet\n\nhold messages\nopen\n"), kavrel::kExitScriptError);
    EXPECT_TRUE(startsWith(s.err.str(), "kavrel: line 3: hold: no plug-in is open")) << s.err.str();
    EXPECT_TRUE(s.record.calls.empty());
    Session empty;
    EXPECT_EQ(empty.run("# only a comment\n"), kavrel::kExitOk);
    EXPECT_TRUE(empty.record.calls.empty());
}

TEST(HostScript, InputThatCannotBeTakenIsNotedAndTheScriptGoesOn) {
    Session s;
    const int status = s.run(
        "open\n"
        "click TestForm.off\n"
        "mouse down TestForm.off 1 1\n"
        "select TestForm.list 3\n"
        "close TestForm\n"
        "click TestForm.go\n"
        "select TestForm.list 3\n"
        "expect var ticks 0\n");
    EXPECT_EQ(status, kavrel::kExitOk) << s.err.str();
    EXPECT_EQ(s.out.str(),
              "ignored: click TestForm.off (disabled)\n"
              "ignored: mouse down TestForm.off (disabled)\n"
              "ignored: select TestForm.list (no row 3: the list has rows 1 to 2)\n"
              "ignored: click TestForm.go (window TestForm is not shown)\n"
              "ignored: select TestForm.list (window TestForm is not shown)\n");
}

TEST(HostScript, HeldMessageRunsTheFollowingLinesInsideItsWaitUntilOk) {
    Session s;
    const int status = s.run(
        "open\n"
        "hold messages\n"
        "click TestForm.go\n"
        "expect message \"Hello there\"\n"
        "expect var modalDepth 1\n"
        "expect var afterMessage False\n"
        "click TestForm.check\n"
        "wait 250\n"
        "expect var ticks 2\n"
        "click MsgBox.OK\n"
        "expect var modalDepth 0\n"
        "expect var afterMessage True\n"
        "hold off\n"
        "click TestForm.go\n"
        "expect var modalDepth 0\n"
        "expect var afterMessage True\n");
    EXPECT_EQ(status, kavrel::kExitOk) << s.err.str();
    EXPECT_EQ(s.out.str(),
              "message: Hello there\n"
              "ignored: click TestForm.check (window MsgBox waits for an answer to \"Hello "
              "there\": click MsgBox.OK)\n"
              "message: Hello there\n");
}

TEST(HostScript, FailureInsideAModalWaitIsReportedOnceAtItsOwnLine) {
    Session s;
    const int status = s.run(
        "open\n"
        "hold messages\n"
        "click TestForm.go\n"
        "expect var ticks 5\n"
        "click MsgBox.OK\n");
    EXPECT_EQ(status, kavrel::kExitExpectFailed);
    EXPECT_EQ(s.err.str(), "kavrel: line 4: expect var ticks: found \"0\", expected \"5\"\n");
}

TEST(HostScript, TypedFailuresInsideAModalWaitLeaveTheWindowWaitingForTheNextLine) {
    Session s;
    s.typed = true;
    const int status = s.run(
        "open\n"
        "hold messages\n"
        "click TestForm.go\n"
        "expect var ticks 5\n"
        "click MsgBox.Okay\n"
        "click MsgBox.OK\n"
        "expect MsgBox.Visible False\n");
    EXPECT_EQ(status, kavrel::kExitScriptError);
    EXPECT_EQ(s.err.str(),
              "kavrel: line 4: expect var ticks: found \"0\", expected \"5\"\n"
              "kavrel: line 5: unknown control: MsgBox.Okay (did you mean MsgBox.OK?)\n");
}

TEST(HostScript, TypedQuitLeavesEvenBeforeOpenAndHelpListsTheActions) {
    Session typed;
    typed.typed = true;
    EXPECT_EQ(typed.run("help\nquit\nbogus\n"), kavrel::kExitOk) << typed.err.str();
    EXPECT_TRUE(typed.record.calls.empty());
    const std::string help = typed.out.str();
    for (const char* part :
         {"\n  open\n", "\n  click TARGET\n", "\n  answer cancel\n", "\n  expect var NAME VALUE\n",
          "\n  help\n", "docs/script-language.md", "docs/reference.md"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
    // Every line of the list starts with an action the runner knows.
    std::istringstream lines(help);
    std::string line;
    int listed = 0;
    while (std::getline(lines, line)) {
        if (!startsWith(line, "  ")) continue;
        ++listed;
        Session s;
        s.typed = true;
        s.run(line.substr(2, line.find(' ', 2) - 2) + "\n");
        EXPECT_EQ(s.err.str().find("unknown action"), std::string::npos) << line;
    }
    EXPECT_GE(listed, 22);
    // From a file or a pipe, quit still needs an open plug-in.
    Session script;
    EXPECT_EQ(script.run("quit\n"), kavrel::kExitScriptError);
    EXPECT_EQ(script.err.str(),
              "kavrel: line 1: quit: no plug-in is open (the script must open it first)\n");
    Session extra;
    EXPECT_EQ(extra.run("help me\n"), kavrel::kExitScriptError);
    EXPECT_EQ(extra.err.str(), "kavrel: line 1: bad syntax, expected: help\n");
}

TEST(HostScript, AFailureInsideThePluginEndsATypedSessionAsItEndsAScript) {
    for (bool typed : {false, true}) {
        Session s;
        s.typed = typed;
        EXPECT_EQ(s.run("open\nclick TestForm.fail\nexpect TestForm.Caption half-way\n"),
                  kavrel::kExitScriptError);
        // Released without running more of its code: no unload, no Term.
        EXPECT_EQ(s.record.calls.back(), "showWindow") << typed;
        EXPECT_EQ(s.err.str(),
                  std::string("kavrel: line 2: the handler failed\n") +
                      (typed ? "kavrel: the failure was inside the plug-in, which may be half-way "
                               "through a change: the session ends\n"
                             : ""));
    }
}

TEST(HostScript, ScriptEndingDuringAModalWaitIsAnErrorNamingTheWindow) {
    for (const char* ending : {"wait 100\n", "quit\nexpect var ticks 99\n"}) {
        for (bool typed : {false, true}) {
            Session s;
            s.typed = typed;
            const int status =
                s.run(std::string("open\nhold messages\nclick TestForm.go\n") + ending);
            EXPECT_EQ(status, kavrel::kExitScriptError) << ending;
            // Released without running more of its code, even typed.
            EXPECT_EQ(s.record.calls.back(), "showWindow") << typed;
            EXPECT_EQ(
                s.err.str(),
                "kavrel: line 4: the script ended while window MsgBox waits modally (shown by "
                "line 3)\n");
        }
    }
}

TEST(HostScript, FileDialogTakesItsAnswerFromAQueuedOrALaterLine) {
    Session s;
    const int status = s.run(
        "open\n"
        "answer file first.Kavrel\n"
        "click TestForm.openFile\n"
        "expect var file first.Kavrel\n"
        "click TestForm.openFile\n"
        "answer cancel\n"
        "expect var file cancelled\n"
        "click TestForm.openFile\n");
    EXPECT_EQ(status, kavrel::kExitScriptError);
    EXPECT_EQ(s.err.str(),
              "kavrel: line 8: the script ended while window CommonDialog TestForm.cdm waits "
              "modally; the lines that answer it: answer file PATH or answer cancel\n");
}

TEST(HostScript, WaitAdvancesVirtualTimeAndFiresTheTimersDue) {
    Session s;
    const int status = s.run(
        "open\n"
        "expect var now 0\n"
        "wait 99\n"
        "expect var ticks 0\n"
        "wait 1\n"
        "expect var ticks 1\n"
        "expect var now 100\n"
        "wait 250\n"
        "expect var ticks 3\n"
        "expect var now 350\n"
        "expect dmx 1 3\n"
        "wait 0\n"
        "expect var now 350\n");
    EXPECT_EQ(status, kavrel::kExitOk) << s.err.str();
}

TEST(HostScript, BeatReachesOnlyAPluginThatListedIt) {
    for (bool wants : {false, true}) {
        Session s;
        s.wantsBeat = wants;
        EXPECT_EQ(s.run("open\nbeat\nbeat\n"), kavrel::kExitOk);
        EXPECT_EQ(s.record.beats, wants ? 2 : 0);
    }
}

TEST(HostScript, FailingProjectInfoReachesThePlugin) {
    Session s;
    s.project = "/shows/party.Kavrel";
    s.projectInfoFails = true;
    EXPECT_EQ(s.run("open\nexpect TestForm.Caption \"Fake - no project info\"\n"), kavrel::kExitOk)
        << s.err.str();
}

TEST(HostScript, PrintsFramesDmxVariablesAndProperties) {
    Session s;
    s.start.gridCols = 3;
    s.start.gridRows = 2;
    const int status = s.run(
        "open\n"
        "print frame M\n"
        "print frame A\n"
        "wait 100\n"
        "click TestForm.check\n"
        "print dmx\n"
        "print var ticks\n"
        "print TestForm.Caption\n");
    EXPECT_EQ(status, kavrel::kExitOk) << s.err.str();
    EXPECT_EQ(s.out.str(),
              "000007 100007 200007\n"
              "001007 101007 201007\n"
              "FF0000 FF0000 FF0000\n"
              "FF0000 FF0000 FF0000\n"
              "1 1\n"
              "2 255\n"
              "1\n"
              "Fake\n");
}

TEST(HostScript, ExpectFrameComparesComponentsAndKnowsTheGrid) {
    Session ok;
    EXPECT_EQ(ok.run("open\nexpect frame M 1 1 16 16 7\nexpect frame B 11 11 0 0 255\n"),
              kavrel::kExitOk)
        << ok.err.str();
    Session wrong;
    EXPECT_EQ(wrong.run("open\nexpect frame M 1 1 16 16 8\n"), kavrel::kExitExpectFailed);
    EXPECT_EQ(wrong.err.str(),
              "kavrel: line 2: expect frame M 1 1: found 16 16 7, expected 16 16 8\n");
    Session outside;
    EXPECT_EQ(outside.run("open\nexpect frame M 12 0 0 0 0\n"), kavrel::kExitExpectFailed);
    EXPECT_NE(outside.err.str().find("12x12"), std::string::npos) << outside.err.str();
}

TEST(HostScript, SnapshotWritesAPngThatExpectFileFinds) {
    const kavrel_test::TempFolder snaps("kavrel-host-snap");
    const std::filesystem::path& dir = snaps.path();
    const std::string png = snaps / "pic.png";
    Session s;
    EXPECT_EQ(s.run("open\nexpect file \"" + png + "\"\n"), kavrel::kExitExpectFailed);
    Session folder;  // a folder is no file
    EXPECT_EQ(folder.run("open\nexpect file \"" + dir.string() + "\"\n"),
              kavrel::kExitExpectFailed);
    Session t;
    EXPECT_EQ(t.run("open\nsnapshot TestForm.pic \"" + png + "\"\nexpect file \"" + png + "\"\n"),
              kavrel::kExitOk)
        << t.err.str();
    std::ifstream in(png, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    // Only a regular file or a new one is written: a FIFO (here with a reader,
    // so that opening it could not block) or a device is refused unopened.
    const std::string fifo = (dir / "fifo.png").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::string null = (dir / "null.png").string();
    std::filesystem::create_symlink("/dev/null", null);
    const std::string folderPng = (dir / "folder.png").string();
    std::filesystem::create_directory(folderPng);
    for (const std::string& path : {fifo, null, folderPng}) {
        Session bad;
        EXPECT_EQ(bad.run("open\nsnapshot TestForm.pic \"" + path + "\"\n"),
                  kavrel::kExitScriptError);
        EXPECT_EQ(bad.err.str(),
                  "kavrel: line 2: cannot write \"" + path + "\": it is not a regular file\n");
    }
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "nothing went into the FIFO";
    ::close(reader);
}

TEST(HostScript, SnapshotsArePngAndKeepReadOnlyFilesAndTheScript) {
    const kavrel_test::TempFolder dir("kavrel-host-snap-keep");
    const auto file = [&dir](const std::string& name) { return dir / name; };
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    // The name says PNG, in any case.
    for (const char* name : {"x.jpg", "x.png.bak", "png", "x.pn"}) {
        Session s;
        EXPECT_EQ(s.run("open\nsnapshot TestForm.pic \"" + file(name) + "\"\n"),
                  kavrel::kExitScriptError);
        EXPECT_EQ(s.err.str(), "kavrel: line 2: snapshots are PNG files: \"" + file(name) +
                                   "\" does not end in .png\n");
        EXPECT_FALSE(std::filesystem::exists(file(name))) << name;
    }
    Session upper;
    EXPECT_EQ(upper.run("open\nsnapshot TestForm.pic \"" + file("X.PnG") + "\"\n"), kavrel::kExitOk)
        << upper.err.str();
    EXPECT_TRUE(std::filesystem::is_regular_file(file("X.PnG")));

    // No write bit: kept, whoever runs the script.
    std::ofstream(file("ro.png")) << "old";
    std::filesystem::permissions(file("ro.png"), std::filesystem::perms::owner_read);
    Session readOnly;
    EXPECT_EQ(readOnly.run("open\nsnapshot TestForm.pic \"" + file("ro.png") + "\"\n"),
              kavrel::kExitScriptError);
    EXPECT_EQ(readOnly.err.str(),
              "kavrel: line 2: cannot write \"" + file("ro.png") + "\": it is read-only\n");
    EXPECT_EQ(bytes(file("ro.png")), "old");

    // The script being run, by a link or another hard link to it.
    const std::string script = "open\nsnapshot TestForm.pic \"" + file("link.png") + "\"\n";
    std::ofstream(file("s.kav")) << script;
    std::filesystem::create_symlink(file("s.kav"), file("link.png"));
    std::filesystem::create_hard_link(file("s.kav"), file("hard.png"));
    for (const char* name : {"link.png", "hard.png"}) {
        Session s;
        s.scriptFile = kavrel_test::identityOf(file("s.kav"));
        EXPECT_EQ(s.run("open\nsnapshot TestForm.pic \"" + file(name) + "\"\n"),
                  kavrel::kExitScriptError);
        EXPECT_EQ(s.err.str(), "kavrel: line 2: cannot write \"" + file(name) +
                                   "\": it is the script being run\n");
        EXPECT_EQ(bytes(file("s.kav")), script) << name;
    }

    // A file that cannot be written says why.
    Session nowhere;
    EXPECT_EQ(nowhere.run("open\nsnapshot TestForm.pic \"" + file("nodir/x.png") + "\"\n"),
              kavrel::kExitScriptError);
    EXPECT_EQ(nowhere.err.str(), "kavrel: line 2: cannot write \"" + file("nodir/x.png") +
                                     "\": No such file or directory\n");
}

TEST(HostScript, ExpectTakesAToleranceOrARangeForNumbers) {
    Session ok;
    EXPECT_EQ(ok.run("open\n"
                     "expect var half 0.5004 ~0.001\n"
                     "expect var half 0,4 ~0,1\n"
                     "expect var half 0.5 ~0\n"
                     "expect var half between 0.5 0.6\n"
                     "expect var half between -1 0.5\n"
                     "wait 300\n"
                     "expect dmx 1 between 2 4\n"
                     "expect dmx 1 2 ~1\n"
                     "expect TestForm.slider.Value between 0 10\n"),
              kavrel::kExitOk)
        << ok.err.str();
    const std::pair<const char*, const char*> failing[] = {
        {"expect var half 0.502 ~0.001", "expect var half: found \"0.5\", expected 0.502 ~0.001"},
        {"expect var half between 0.51 1",
         "expect var half: found \"0.5\", expected between 0.51 and 1"},
        {"expect TestForm.Caption between 0 1",
         "expect TestForm.Caption: found \"Fake\", expected between 0 and 1"},
        {"expect dmx 1 between 1 2", "expect dmx 1: found 0, expected between 1 and 2"},
    };
    for (const auto& [line, message] : failing) {
        Session s;
        EXPECT_EQ(s.run(std::string("open\n") + line + "\n"), kavrel::kExitExpectFailed) << line;
        EXPECT_EQ(s.err.str(), std::string("kavrel: line 2: ") + message + "\n");
    }
}

TEST(HostScript, ExpectPixelReadsAPictureBoxOrAWindowSurface) {
    Session ok;
    EXPECT_EQ(ok.run("open\n"
                     "expect TestForm.pic.ScaleWidth 150\n"
                     "expect pixel TestForm.pic 0 0 0 128 255\n"
                     "expect pixel TestForm.pic 9 9 0 128 255\n"),
              kavrel::kExitOk)
        << ok.err.str();
    Session wrong;
    EXPECT_EQ(wrong.run("open\nexpect pixel TestForm.pic 1 2 0 0 0\n"), kavrel::kExitExpectFailed);
    EXPECT_EQ(wrong.err.str(),
              "kavrel: line 2: expect pixel TestForm.pic 1 2: found 0 128 255, expected 0 0 0\n");
    Session outside;
    EXPECT_EQ(outside.run("open\nexpect pixel TestForm.pic 10 0 0 0 0\n"),
              kavrel::kExitExpectFailed);
    EXPECT_EQ(outside.err.str(),
              "kavrel: line 2: expect pixel TestForm.pic 10 0: found no pixel there "
              "(TestForm.pic is 10x10 pixels)\n");
    Session window;
    EXPECT_EQ(window.run("open\nexpect pixel TestForm 0 0 1 2 3\n"), kavrel::kExitExpectFailed);
    EXPECT_TRUE(startsWith(window.err.str(), "kavrel: line 2: expect pixel TestForm 0 0: found "))
        << window.err.str();
}

TEST(HostScript, GridAndLocaleLinesBeforeOpenSetTheStart) {
    Session s;
    s.start.gridCols = 7;
    const int status = s.run(
        "# a test's own setting wins over the command line's\n"
        "grid 3X2\n"
        "locale de\n"
        "open\n"
        "expect var decimal ,\n"
        "expect frame M 2 1 32 16 7\n"
        "expect frame M 3 0 0 0 0\n");
    EXPECT_EQ(status, kavrel::kExitExpectFailed) << s.err.str();
    EXPECT_EQ(s.err.str(),
              "kavrel: line 7: expect frame M 3 0: found no light there (the grid is 3x2)\n");
    for (const char* bad : {"grid 0x2", "grid 51x1", "grid 3", "grid 3x2 extra", "locale fr",
                            "locale", "grid 3x2\ngrid 4x4\nopen\nopen"}) {
        Session b;
        EXPECT_EQ(b.run(std::string(bad) + "\nopen\n"), kavrel::kExitScriptError) << bad;
    }
}

TEST(HostScript, UnknownNamesComeWithTheNearestOnes) {
    struct Case {
        const char* line;
        const char* error;
    };
    for (const Case& c : {
             Case{"click testform.go", "unknown window: testform (did you mean TestForm?)"},
             Case{"click TestFrom.go", "unknown window: TestFrom (did you mean TestForm?)"},
             Case{"click Nothing.go", "unknown window: Nothing"},
             Case{"click TestForm.gone",
                  "unknown control: TestForm.gone (did you mean TestForm.go?)"},
             Case{"click TestForm.Off",
                  "unknown control: TestForm.Off (did you mean TestForm.off?)"},
             Case{"click TestForm.op(1)",
                  "unknown control: TestForm.op(1) (did you mean TestForm.opt(1)?)"},
             Case{"click TestForm.op(7)",
                  "unknown control: TestForm.op(7) (did you mean TestForm.opt(0 to 1)?)"},
             Case{"click TestForm.opt",
                  "TestForm.opt is a control array: name an index 0 to 1, e.g. TestForm.opt(0)"},
             Case{"click TestForm.opt(2)",
                  "unknown control: TestForm.opt(2) (TestForm.opt is a control array with "
                  "indexes 0 to 1)"},
             Case{"click TestForm.go(0)",
                  "unknown control: TestForm.go(0) (TestForm.go is no control array: name it "
                  "without an index)"},
             Case{"click TestForm.zzzzzzzz", "unknown control: TestForm.zzzzzzzz"},
             Case{"print TestForm.go.caption",
                  "unknown property: TestForm.go.caption (did you mean Caption?)"},
             Case{"print TestForm.Captoin",
                  "unknown property: TestForm.Captoin (did you mean Caption?)"},
             Case{"print TestForm.combo.List",
                  "unknown property: TestForm.combo.List (name its index: List(i) takes an item "
                  "i from 0 to ListCount - 1, now 0 to 2)"},
             Case{"print TestForm.list.Itme(1)",
                  "unknown property: TestForm.list.Itme(1) (did you mean Item(i) or Name?)"},
             Case{"expect TestForm.slider 0",
                  "unknown property: TestForm.slider (TestForm.slider is a control: did you mean "
                  "TestForm.slider.Value?)"},
             Case{"set TestForm.text", "bad syntax, the value is missing: set TARGET VALUE"},
             Case{"set TestForm.text # the caption",
                  "bad syntax, the value is missing: set TARGET VALUE"},
             Case{"set TestForm.text #front",
                  "bad syntax, the value is missing: set TARGET VALUE (a value that starts with "
                  "# is a comment unless quoted: \"#front\")"},
             Case{"set TestForm.combo Gradiant",
                  "no such item \"Gradiant\" in TestForm.combo (did you mean \"Gradient\"?); its "
                  "items: \"Color\", \"Gradient\", \"Fire\""},
             Case{"set TestForm.combo fire",
                  "no such item \"fire\" in TestForm.combo (did you mean \"Fire\"?); its items: "
                  "\"Color\", \"Gradient\", \"Fire\""},
             Case{"set TestForm.combo #3",
                  "no such item \"#3\" in TestForm.combo; its items are #0 to #2"},
             Case{"clikc TestForm.go", "unknown action \"clikc\" (did you mean \"click\"?)"},
             Case{"expectt var ticks 0", "unknown action \"expectt\" (did you mean \"expect\"?)"},
         }) {
        Session s;
        EXPECT_EQ(s.run(std::string("open\n") + c.line + "\n"), kavrel::kExitScriptError) << c.line;
        EXPECT_EQ(s.err.str(), std::string("kavrel: line 2: ") + c.error + "\n");
    }
}

TEST(HostScript, PrintedTextHasItsControlCharactersEscapedAndChecksSeeItRaw) {
    Session s;
    // ESC, BEL, a tab (kept), DEL and a letter beyond ASCII (kept).
    const std::string raw = "a\x1b[31m\x07\tb\x7f\xc3\xbc";
    const int status = s.run(
        "open\n"
        "set TestForm.text \"" +
        raw +
        "\"\n"
        "print TestForm.Caption\n"
        "expect TestForm.Caption \"" +
        raw +
        "\"\n"
        "expect TestForm.Caption x\n");
    EXPECT_EQ(status, kavrel::kExitExpectFailed);
    EXPECT_EQ(s.out.str(), "a\\x1b[31m\\x07\tb\\x7f\xc3\xbc\n");
    EXPECT_EQ(s.err.str(),
              "kavrel: line 5: expect TestForm.Caption: found \"a\\x1b[31m\\x07\\tb"
              "\\x7f\xc3\xbc\", expected \"x\"\n");
    // A soft hyphen (a format character a text box can hold) and a no-break
    // space: printed values escape the one; messages, which repeat the
    // script's words and paths, both.
    Session hidden;
    EXPECT_EQ(hidden.run("open\n"
                         "set TestForm.text \"a\u00adb\u00a0c\"\n"
                         "print TestForm.Caption\n"
                         "expect TestForm.Caption \"a\u00adb\u00a0c\"\n"
                         "expect file \"x\u202ey\u00a0z.png\"\n"),
              kavrel::kExitExpectFailed);
    EXPECT_EQ(hidden.out.str(),
              "note: set TestForm.text \"a\\u{ad}b\\u{a0}c\" (it holds a no-break space and an "
              "invisible format character)\n"
              "a\\u{ad}b\u00a0c\n");
    EXPECT_EQ(hidden.err.str(),
              "kavrel: line 5: expect file \"x\\u{202e}y\\u{a0}z.png\": found no such file\n");
    // An unknown word that holds one says so.
    struct Case {
        const char* line;
        const char* error;
    };
    for (const Case& c : {
             Case{"click\u00a0TestForm.go",
                  "unknown action \"click\\u{a0}TestForm.go\" (it holds a no-break space)"},
             Case{"set TestForm.combo Fi\u200bre",
                  "no such item \"Fi\\u{200b}re\" in TestForm.combo (it holds an invisible format "
                  "character); its items: \"Color\", \"Gradient\", \"Fire\""},
             Case{"print var mix\u2066Pos",
                  "unknown variable \"mix\\u{2066}Pos\" (it holds a bidirectional control) (did "
                  "you mean \"mixPos\"?)"},
         }) {
        Session u;
        EXPECT_EQ(u.run(std::string("open\n") + c.line + "\n"), kavrel::kExitScriptError) << c.line;
        EXPECT_EQ(u.err.str(), std::string("kavrel: line 2: ") + c.error + "\n");
    }
    // The C1 control U+0085 and a byte that is no UTF-8, in a message that
    // repeats the script's word unquoted.
    Session c1;
    EXPECT_EQ(c1.run("open\nset TestForm.combo \"x\xc2\x85\xff\"\n"), kavrel::kExitScriptError);
    EXPECT_EQ(c1.err.str(),
              "kavrel: line 2: no such item \"x\\xc2\\x85\\xff\" in TestForm.combo; its items: "
              "\"Color\", \"Gradient\", \"Fire\"\n");
}
