// Runs the real kavrel program on session scripts, as a user would.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

using hosttest::ProgramRun;

ProgramRun runKavrel(const kavrel_test::TempFolder& dir, const std::string& args,
                     const std::string& script) {
    std::ofstream(dir / "session.kav") << script;
    return hosttest::runKavrelIn(dir.path(), args + " " + (dir / "session.kav"));
}

}  // namespace

TEST(KavrelProgram, PlaysASessionWithOutputFadesAndSnapshots) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    const ProgramRun run = runKavrel(dir, "--grid 4x3 --dmx-log dmx.log", R"(open
wait 60
expect frame A 3 2 255 0 0
expect frame B 0 0 0 0 255
set MatrixForm.dmx_active 1
wait 30
expect dmx 1 128
expect dmx 36 128
expect dmx 37 0
set MatrixForm.fadeTimeText 1
click MatrixForm.fadeRight
wait 1000
expect var mixPos 1
expect MatrixForm.faderM.Value 100
wait 30
expect dmx 1 0
expect dmx 3 255
snapshot MatrixForm.paneM mix.png
expect file mix.png
set MatrixForm.fadeTimeText abc
expect message "Fade time must be numeric"
quit
)");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("message: Fade time must be numeric"), std::string::npos)
        << run.output;
}

TEST(KavrelProgram, AFailedExpectExitsOneNamingTheLineAndWhatWasFound) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    const ProgramRun run =
        runKavrel(dir, "--locale de", "open\nexpect MatrixForm.fadeTimeText.Text 4\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("3,00"), std::string::npos) << run.output;
}

TEST(KavrelProgram, AnUnknownControlIsAScriptError) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    const ProgramRun run = runKavrel(dir, "", "open\n\nclick MatrixForm.noSuchButton\n");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("line 3"), std::string::npos) << run.output;
}

TEST(KavrelProgram, ASnapshotOfAPictureBoxWithoutPixelsSaysSo) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    const ProgramRun run = runKavrel(dir, "", "open\nsnapshot MatrixForm.imageA a.png\n");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("line 2: MatrixForm.imageA has no pixels to write (it is 0x0)"),
              std::string::npos)
        << run.output;
}

// Text from a file reaches the terminal with its control characters escaped;
// checks compare the text as it is.
TEST(KavrelProgram, ControlCharactersOfAProjectArePrintedEscaped) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    std::ofstream(dir / "show.Kavrel", std::ios::binary)
        << "show.Kavrel\r\nV1.0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n"
           "A0\r\nTrue\r\n3\r\nt\x1b]0;owned\x07wo\r\n1\r\n0\r\n0\r\n50\r\n2\r\n"
           "a\r\n2.5\r\na.png\r\nb\r\n3,5\r\nb.png\r\n0\r\n"
           "B0\r\nFalse\r\nX0\r\n0\r\nf\r\n3\r\n0\r\n";
    std::ofstream(dir / "bad.Kavrel", std::ios::binary) << "bad\r\nV1\x1b[2J\x07\r\n";
    const ProgramRun run = runKavrel(dir, "",
                                     "open\n"
                                     "answer file show.Kavrel\n"
                                     "click MatrixForm.myload\n"
                                     "print MatrixForm.efxAList.Item(1)\n"
                                     "print var effA(0).name\n"
                                     "expect var effA(0).name \"t\x1b]0;owned\x07wo\"\n"
                                     "answer file bad.Kavrel\n"
                                     "click MatrixForm.myload\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output,
              "message: Matrix Project loaded\n"
              "t\\x1b]0;owned\\x07wo\n"
              "t\\x1b]0;owned\\x07wo\n"
              "message: falsche Matrix-Version V1\\x1b[2J\\x07\n");
}

TEST(KavrelProgram, AnUnknownVariableNamesTheNearestOnes) {
    struct Case {
        const char* name;
        const char* error;
    };
    for (const Case& c : {
             Case{"mixpos", "unknown variable \"mixpos\" (did you mean \"mixPos\"?)"},
             Case{"curEff",
                  "unknown variable \"curEff\" (did you mean \"curEffA\" or \"curEffB\"?)"},
             Case{"mixMapp(1,1)",
                  "unknown variable \"mixMapp(1,1)\" (did you mean \"mixMap(1,1)\"?)"},
             Case{"mixMap", "unknown variable \"mixMap\" (it takes indexes in parentheses)"},
             Case{"mixPos(1)", "unknown variable \"mixPos(1)\" (mixPos takes no indexes)"},
             Case{"mixMap(99,0)",
                  "unknown variable \"mixMap(99,0)\" (an index is out of range: the first index "
                  "of mixMap takes 0 to 12, not 99)"},
             Case{"mixMap(99,99)", "unknown variable \"mixMap(99,99)\" (an index is out of range)"},
             Case{"effA(0).nmae",
                  "unknown variable \"effA(0).nmae\" (did you mean \"effA(0).name\"?)"},
             Case{"effA(9).name",
                  "unknown variable \"effA(9).name\" (an index is out of range: the index of effA "
                  "takes 0 to 1, not 9)"},
             Case{"effa(0).name",
                  "unknown variable \"effa(0).name\" (did you mean \"effA(0).name\"?)"},
             Case{"copyBuffer",
                  "unknown variable \"copyBuffer\" (its fields follow after a dot: "
                  "copyBuffer.FIELD)"},
             Case{"effB",
                  "unknown variable \"effB\" (its fields follow after a dot: effB(i).FIELD)"},
             Case{"fadeList(0).tiem",
                  "unknown variable \"fadeList(0).tiem\" (did you mean \"fadeList(0).time\"?)"},
             Case{"copyBufer.name",
                  "unknown variable \"copyBufer.name\" (did you mean \"copyBuffer.name\"?)"},
             Case{"qqqqqqqq", "unknown variable \"qqqqqqqq\""},
         }) {
        const kavrel_test::TempFolder dir("kavrel-e2e");
        const ProgramRun run = runKavrel(dir, "", std::string("open\nprint var ") + c.name + "\n");
        EXPECT_EQ(run.status, 2) << c.name;
        EXPECT_EQ(run.output, std::string("kavrel: line 2: ") + c.error + "\n");
    }
}

// Neither a project save nor a snapshot replaces the script being run or the
// DMX log being written.
TEST(KavrelProgram, NeitherTheScriptNorTheOpenDmxLogIsEverReplaced) {
    const kavrel_test::TempFolder dir("kavrel-e2e");
    const std::string script =
        "open\nset MatrixForm.dmx_active 1\nwait 30\nanswer file dmx.png\n"
        "click MatrixForm.mxsave\nanswer file session.kav\nclick MatrixForm.mxsave\n"
        "snapshot MatrixForm.paneM dmx.png\n";
    const ProgramRun run = runKavrel(dir, "--dmx-log dmx.png", script);
    EXPECT_EQ(run.status, 2) << run.output;
    const std::string refused = ": it is in use and must not be replaced\n";
    EXPECT_EQ(run.output, "message: Matrix Project not saved: cannot write dmx.png" + refused +
                              "message: Matrix Project not saved: cannot write session.kav" +
                              refused +
                              "kavrel: line 8: cannot write \"dmx.png\": it is the DMX log "
                              "being written\n");
    std::ifstream log(dir / "dmx.png");
    std::string first;
    std::getline(log, first);
    EXPECT_EQ(first, "25 1 128") << "the log holds its DMX lines";
}
