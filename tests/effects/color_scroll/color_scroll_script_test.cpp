// Session scripts drive the Color Scroll editor end to end through the real
// kavrel program: an entry built in bank B and stepped by beats, and the
// demo's generated effects.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ColorScrollScript, BeatsScrollAnEntryBuiltInBankB) {
    const kavrel_test::TempFolder folder("kavrel-scroll-beat");
    const std::filesystem::path& dir = folder.path();
    folder.folder("demo-out");
    std::ofstream(dir / "scroll.kav") << R"(open
set MatrixForm.typeB "Color Scroll"
expect message "ColorScroll not configured ! Please edit effect !"
click MatrixForm.editB
click MxColorScroll.addColor
set MxColorMixer.Sgreen 255
click MxColorMixer.BOK
click MxColorScroll.addColor
click MxColorMixer.Bcancel
expect MxColorScroll.ColorList.Count 1
click MxColorScroll.addColor
set MxColorMixer.Sred 255
click MxColorMixer.BOK
edit MxColorScroll.ColorList 1 1 2
click MxColorScroll.richtung(7)
expect MxColorScroll.richtung(7).ShownPicture DownPicture
click MxColorScroll.beatControl
expect var beatB True
expect MatrixForm.timerB1.Enabled False
expect MatrixForm.timerB2.Interval 50
set MxColorScroll.myName "green green red"
key MxColorScroll.myName 13
expect MxColorScroll.Visible False
expect var effOkB(0) True
expect var effB(0).name "green green red"
select MatrixForm.efxBList 1
beat
expect frame B 0 0 0 255 0
expect frame B 1 0 0 0 255
wait 60
beat
expect frame B 0 3 0 255 0
expect frame B 1 3 0 255 0
beat
expect frame B 0 3 0 255 0                  # within the lock-out: dropped
wait 60
beat
expect frame B 0 11 255 0 0
expect frame B 2 11 0 255 0
click MatrixForm.editB
expect MxColorScroll.ColorList.Count 2
expect MxColorScroll.beatControl.Value 1
click MatrixForm.Closeall
expect MxColorScroll.Visible False
quit
)";
    const auto run = hosttest::runKavrelIn(dir, "scroll.kav");
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ColorScrollScript, TheDemoSnapshotsTheGeneratedEffects) {
    const kavrel_test::TempFolder folder("kavrel-scroll-demo");
    const std::filesystem::path& dir = folder.path();
    folder.folder("demo-out");
    const auto run =
        hosttest::runKavrelIn(dir, std::string("'") + KAVREL_SOURCE_DIR + "/examples/demo.kav'");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* png : {"15-colorscroll.png", "16-fire.png", "17-fluid.png", "18-beamshow.png",
                            "19-fire-and-beams.png"})
        EXPECT_TRUE(std::filesystem::exists(dir / "demo-out" / png)) << png;
}

}  // namespace
