// Session scripts drive the Color Change editor end to end through the real
// kavrel program: the demo, and a beat-controlled entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"

namespace {

std::filesystem::path freshDir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kavrel-colour-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "demo-out");
    return dir;
}

TEST(ColorChangeScript, TheDemoBuildsAndRunsTheColourEntries) {
    const auto dir = freshDir("demo");
    const auto run =
        hosttest::runKavrelIn(dir, std::string("'") + KAVREL_SOURCE_DIR + "/examples/demo.kav'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(dir / "demo-out/07-colorchange-scroll.png"));
    std::filesystem::remove_all(dir);
}

TEST(ColorChangeScript, BeatsStepAnEntryBuiltInTheEditor) {
    const auto dir = freshDir("beat");
    std::ofstream(dir / "beat.kav") << R"(open
set MatrixForm.typeA "Color Change"
click MatrixForm.editA
click MxColorChange.addColor
set MxColorMixer.Sred 255
click MxColorMixer.BOK
click MxColorChange.addColor
click MxColorMixer.Bcancel
expect MxColorChange.ColorList.Count 1
click MxColorChange.addColor
set MxColorMixer.Sgreen 255
click MxColorMixer.BOK
click MxColorChange.beatControl
expect var beatA True
expect MatrixForm.timerA2.Interval 50
click MxColorChange.OK
expect var effOkA(0) True
select MatrixForm.efxAList 1
expect MatrixForm.timerA1.Enabled False
beat
expect frame A 0 0 0 255 0
beat
expect frame A 0 0 0 255 0
wait 60
beat
expect frame A 0 0 255 0 0
quit
)";
    const auto run = hosttest::runKavrelIn(dir, "beat.kav");
    EXPECT_EQ(run.status, 0) << run.output;
    std::filesystem::remove_all(dir);
}

}  // namespace
