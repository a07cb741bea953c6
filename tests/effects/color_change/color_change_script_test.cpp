// Session scripts drive the Color Change editor end to end through the real
// kavrel program: the demo, and a beat-controlled entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ColorChangeScript, TheDemoBuildsAndRunsTheColourEntries) {
    const kavrel_test::TempFolder folder("kavrel-colour-demo");
    const std::filesystem::path& dir = folder.path();
    folder.folder("demo-out");
    const auto run =
        hosttest::runKavrelIn(dir, std::string("'") + KAVREL_SOURCE_DIR + "/examples/demo.kav'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(dir / "demo-out/07-colorchange-scroll.png"));
}

TEST(ColorChangeScript, BeatsStepAnEntryBuiltInTheEditor) {
    const kavrel_test::TempFolder folder("kavrel-colour-beat");
    const std::filesystem::path& dir = folder.path();
    folder.folder("demo-out");
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
}

}  // namespace
