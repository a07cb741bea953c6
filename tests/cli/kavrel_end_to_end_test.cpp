// Runs the real kavrel program on session scripts, as a user would.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"

namespace {

using hosttest::ProgramRun;

ProgramRun runKavrel(const std::string& args, const std::string& script) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kavrel-e2e-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    const auto scriptPath = dir / "session.kav";
    std::ofstream(scriptPath) << script;
    return hosttest::runKavrelIn(dir, args + " " + scriptPath.string());
}

}  // namespace

TEST(KavrelProgram, PlaysASessionWithOutputFadesAndSnapshots) {
    const ProgramRun run = runKavrel("--grid 4x3 --dmx-log dmx.log", R"(open
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
    const ProgramRun run =
        runKavrel("--locale de", "open\nexpect MatrixForm.fadeTimeText.Text 4\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("3,00"), std::string::npos) << run.output;
}

TEST(KavrelProgram, AnUnknownControlIsAScriptError) {
    const ProgramRun run = runKavrel("", "open\n\nclick MatrixForm.noSuchButton\n");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("line 3"), std::string::npos) << run.output;
}

TEST(KavrelProgram, ASnapshotOfAPictureBoxWithoutPixelsSaysSo) {
    const ProgramRun run = runKavrel("", "open\nsnapshot MatrixForm.imageA a.png\n");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("line 2: MatrixForm.imageA has no pixels to write (it is 0x0)"),
              std::string::npos)
        << run.output;
}
