// The messages that say why an action or check failed and what to do, as the
// real program prints them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

struct Case {
    const char* args;
    const char* script;
    int status;
    const char* output;
};

const Case kCases[] = {
    {"", "open\nset MxTickerForm.myTicker 1\n", 0,
     "ignored: set MxTickerForm.myTicker (window MxTickerForm is not shown: click "
     "MatrixForm.editA or MatrixForm.editB while that bank runs a Ticker entry)\n"},
    {"",
     "open\nhold messages\nset MatrixForm.fadeTimeText abc\nclick MatrixForm.addA\n"
     "click MsgForm.OK\n",
     0,
     "message: Fade time must be numeric\n"
     "ignored: click MatrixForm.addA (window MsgForm waits for an answer to \"Fade time must be "
     "numeric\": click MsgForm.OK)\n"},
    {"", "open\nset MatrixForm.fadeTimeText \"2\u00a0\"\n", 0,
     "note: set MatrixForm.fadeTimeText \"2\\u{a0}\" (it holds a no-break space)\n"
     "message: Fade time must be numeric\n"},
    {"", "open\nanswer file nothere.Kavrel\nclick MatrixForm.myload\n", 0,
     "message: Matrix Project not loaded: cannot read nothere.Kavrel: No such file or "
     "directory\n"},
    {"",
     "open\nset MatrixForm.typeA Image\nclick MatrixForm.editA\nclick MxImageForm.BImage\n"
     "click MxImageList.addImage\nclick MatrixForm.addA\n",
     2,
     "message: No Pictures in List. Please edit preset\n"
     "ignored: click MatrixForm.addA (the file dialog MxImageList.CD waits: answer file PATH or "
     "answer cancel)\n"
     "kavrel: line 6: the script ended while window CommonDialog MxImageList.CD waits modally "
     "(shown by line 5); the lines that answer it: answer file PATH or answer cancel\n"},
    {"--gird 8x8", "", 2,
     "kavrel: unknown option \"--gird\" (did you mean \"--grid\"?)\n"
     "(kavrel --help shows the usage)\n"},
    {"", "open\nprint var dmxSent(1025)\n", 2,
     "kavrel: line 2: unknown variable \"dmxSent(1025)\" (an index is out of range: the index "
     "of dmxSent takes 0 to 1024, not 1025)\n"},
    {"--grid 4x3", "open\nprint var mixMap(2,9)\n", 2,
     "kavrel: line 2: unknown variable \"mixMap(2,9)\" (an index is out of range: the second "
     "index of mixMap takes 0 to 3, not 9)\n"},
    {"", "open\nexpect MatrixForm.MFadeColor.BackColor 0x0000FF\n", 1,
     "kavrel: line 2: expect MatrixForm.MFadeColor.BackColor: found \"0\", expected "
     "\"0x0000FF\" (values are decimal numbers, colours those of 0x00BBGGRR: 0x0000FF is "
     "255)\n"},
    {"", "open\ncommand \"send beat signal\" maybe\n", 2,
     "kavrel: line 2: no such option \"maybe\" for command \"send beat signal\"; its options: "
     "\"do\"\n"},
    {"", "open\nexpect message Matrix Project saved\n", 2,
     "kavrel: line 2: bad syntax, expected: expect message TEXT (quote a text that holds "
     "blanks)\n"},
    {"", "open\nexpect message Fade time must be numeric\n", 2,
     "kavrel: line 2: bad syntax, expected: expect message TEXT (quote a text that holds "
     "blanks)\n"},
};

}  // namespace

TEST(KavrelMessages, SayWhyAndWhatToDo) {
    for (const Case& c : kCases) {
        const kavrel_test::TempFolder dir("kavrel-messages");
        std::ofstream(dir / "session.kav") << c.script;
        const hosttest::ProgramRun run =
            hosttest::runKavrelIn(dir.path(), std::string(c.args) + " session.kav");
        EXPECT_EQ(run.status, c.status) << c.script;
        EXPECT_EQ(run.output, c.output) << c.args << '\n' << c.script;
    }
}
