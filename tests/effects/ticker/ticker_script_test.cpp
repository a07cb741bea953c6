// A session script drives the Ticker editor end to end through the real
// kavrel program: a typed text in every direction, letter mode, beats, and a
// system font picked in the font dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

// Writes the script into a fresh folder and runs it there.
hosttest::ProgramRun runScript(const std::string& name, const char* script) {
    const kavrel_test::TempFolder dir("kavrel-ticker-" + name);
    std::ofstream(dir / "session.kav") << script;
    hosttest::ProgramRun run = hosttest::runKavrelIn(dir.path(), "session.kav");
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// On an 8 x 7 grid the pixel font's "L" and "T" (5 rows, 3 columns and a
// spacing column each) make a strip of 8 columns, or of 12 rows stacked.
const char* kPixelFontScript = R"(grid 8x7
open
set MatrixForm.typeA Ticker
click MatrixForm.editA
set MxTickerForm.myTicker ""
expect var effA(0).text "-"                # never an empty text
set MxTickerForm.myTicker "LT"
set MxTickerForm.slSpeed 100
expect MatrixForm.timerA1.Interval 10

# Left: the strip enters at the right edge, one column a step.
click MxTickerForm.richtung(3)
expect var stepMaxA 8
wait 40
expect var stepA 5
expect frame A 3 0 255 255 255             # the L's stem
expect frame A 3 4 255 255 255
expect frame A 5 4 255 255 255             # its foot
expect frame A 4 3 0 0 0
expect frame A 6 4 0 0 0                   # the spacing column
expect frame A 7 0 255 255 255             # the T's bar coming in
expect frame A 7 1 0 0 0

# Up: the letters stacked, entering at the bottom.
click MxTickerForm.richtung(1)
expect var stepMaxA 12
wait 40
expect frame A 0 1 0 0 0
expect frame A 0 2 255 255 255
expect frame A 0 5 255 255 255
expect frame A 1 5 0 0 0
expect frame A 2 6 255 255 255

# Down: the first line fed is the strip's top, then it wraps to the bottom.
click MxTickerForm.richtung(5)
wait 40
expect frame A 0 4 255 255 255
expect frame A 1 4 0 0 0
expect frame A 1 3 0 0 0
expect frame A 1 0 255 255 255             # the T's stem, fed last to first
expect frame A 1 2 255 255 255
expect frame A 0 0 0 0 0

# Right: the columns enter at the left edge, last to first after the first.
click MxTickerForm.richtung(7)
wait 40
expect frame A 4 0 255 255 255             # the L's stem, fed first
expect frame A 4 4 255 255 255
expect frame A 3 0 0 0 0
expect frame A 0 0 255 255 255
expect frame A 1 4 255 255 255
expect frame A 2 1 0 0 0

# Letter mode: one letter a step, centred in the rows, the offset back to 0.
set MxTickerForm.slOffset 40
expect var effA(0).level 40
click MxTickerForm.Letter
expect var effA(0).direction 1
expect var effA(0).letterMode 1
expect var effA(0).level 0
expect var posYA 1
expect var stepA 6
expect frame A 0 1 255 255 255             # L
expect frame A 0 5 255 255 255
expect frame A 2 5 255 255 255
expect frame A 1 4 0 0 0
wait 10
expect var stepA 0                         # wrapped
expect frame A 0 1 255 255 255             # T
expect frame A 2 1 255 255 255
expect frame A 1 5 255 255 255
expect frame A 0 2 0 0 0
click MxTickerForm.richtung(7)             # ignored in letter mode
expect var effA(0).direction 1
wait 10
expect var stepA 6

# Beats: the timer stops; one step a beat, at most one in 50 ms.
click MxTickerForm.Beat
expect MatrixForm.timerA1.Enabled False
expect MatrixForm.timerA2.Interval 50
expect var beatA True
wait 100
expect var stepA 6
beat
expect var stepA 0
expect frame A 1 5 255 255 255             # T
beat
expect var stepA 0
wait 60
beat
expect var stepA 6
expect frame A 1 5 255 255 255             # L's foot
expect frame A 1 4 0 0 0
click MxTickerForm.Beat
expect var beatA False
expect MatrixForm.timerA1.Enabled True
click MxTickerForm.Letter
expect var effA(0).letterMode 0
set MxTickerForm.myName "letters"
key MxTickerForm.myName 13                 # Enter confirms
expect MxTickerForm.Visible False
expect var effA(0).name "letters"
quit
)";

TEST(TickerScript, PixelFontInEveryDirectionLetterModeAndBeats) {
    const auto run = runScript("pixel", kPixelFontScript);
    EXPECT_EQ(run.status, 0) << run.output;
}

// A system font's glyphs belong to the installed fonts: the script checks the
// geometry the build fixes and prints what the test reads.
const char* kSystemFontScript = R"(grid 8x7
open
set MatrixForm.typeA Ticker
click MatrixForm.editA
set MxTickerForm.myTicker "LT"
set MxTickerForm.slSpeed 100
expect MxTickerForm.myFontBox.Enabled False
set MxTickerForm.myFont WindowsFont
expect MxTickerForm.myFontBox.Enabled True
expect var effA(0).font "5-point"          # nothing picked yet
answer font "DejaVu Sans" 7 bold
click MxTickerForm.myFontBox
expect var effA(0).font "DejaVu Sans:7:0:1:0:0"
expect MxTickerForm.myFont.Text "DejaVu Sans:7:0:1:0:0"
expect var fontNameA "DejaVu Sans"
expect var fontSizeA 7
expect var fontBoldA 1
print var tickerWidthA
print var stepMaxA
click MxTickerForm.richtung(1)
expect var stepMaxA 19                     # two letters of 7 rows, and 5
click MxTickerForm.Letter
expect var posYA 0
expect var stepA 7
print frame A
print var tickerWidthA
wait 10
expect var stepA 0                         # 14 is past 19 - 7
answer font "DejaVu Sans" 6
click MxTickerForm.myFontBox
expect message "FontSize too small !!!"
expect var effA(0).font "DejaVu Sans:6:0:0:0:0"
expect frame A 0 0 0 0 0
expect frame A 1 3 0 0 0
expect frame A 2 6 0 0 0
answer cancel
click MxTickerForm.myFontBox
expect var effA(0).font "DejaVu Sans:6:0:0:0:0"
set MxTickerForm.myFont 5-point
expect MxTickerForm.myFontBox.Enabled False
expect var effA(0).font "5-point"
expect frame A 0 1 255 255 255             # the pixel font's L again
quit
)";

TEST(TickerScript, SystemFontPickedInTheDialog) {
    const auto run = runScript("system", kSystemFontScript);
    ASSERT_EQ(run.status, 0) << run.output;
    // tickerWidthA, stepMaxA (left), 7 frame rows, tickerWidthA (letters).
    std::vector<std::string> printed;
    for (const std::string& l : lines(run.output))
        if (l.rfind("message:", 0) != 0) printed.push_back(l);
    ASSERT_EQ(printed.size(), 10u) << run.output;
    const int across = std::stoi(printed[0]);
    // The trim keeps two columns past the last one in the text colour, and
    // the strip is two wider still.
    EXPECT_GE(across, 4);
    EXPECT_EQ(std::stoi(printed[1]), across + 2);
    const int letterWidth = std::stoi(printed[9]);
    ASSERT_GE(letterWidth, 3);
    // The first letter shows in the columns the trimmed strip covers, and
    // nowhere else.
    bool lit = false;
    for (int y = 0; y < 7; ++y) {
        const std::string& row = printed[2 + static_cast<size_t>(y)];
        for (int x = 0; x < 8; ++x) {
            const std::string light = row.substr(static_cast<size_t>(x) * 7, 6);
            if (light == "FFFFFF") lit = true;
            if (x >= letterWidth) {
                EXPECT_EQ(light, "000000") << "row " << y << " column " << x;
            }
        }
    }
    EXPECT_TRUE(lit) << run.output;
}

}  // namespace
