// The preview panes repaint only the lights that changed.
#include <gtest/gtest.h>

#include "core/preview_panes.h"
#include "kavrel_session.h"

namespace kavrel::testing {
namespace {

platform::Color cellColour(platform::PictureBox& pane, int cell, int x, int y) {
    return pane.surface().at(x * cell + cell / 2, y * cell + cell / 2);
}

TEST(PreviewPanes, FirstRedrawPaintsEveryLight) {
    KavrelSession s;
    MatrixForm& f = s.form();
    const int cell = f.paneCellSize(f.paneA);
    EXPECT_EQ(cell, 15);  // 180 pixels for 12 lights
    s.wait(50);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(cellColour(f.paneA, cell, x, y), platform::rgb(255, 0, 0));
            EXPECT_EQ(cellColour(f.paneB, cell, x, y), platform::rgb(0, 0, 255));
            EXPECT_EQ(cellColour(f.paneM, cell, x, y), platform::rgb(128, 0, 128));
        }
    // Both corners of a light's square.
    EXPECT_EQ(f.paneA.surface().at(11 * cell, 11 * cell), platform::rgb(255, 0, 0));
    EXPECT_EQ(f.paneA.surface().at(12 * cell - 1, 12 * cell - 1), platform::rgb(255, 0, 0));
    EXPECT_FALSE(s.state().bankA.dirty);
    EXPECT_FALSE(s.state().dirtyM);
}

TEST(PreviewPanes, RepaintOnlyChangedLightsAndOnlyWhenFlagged) {
    KavrelSession s;
    MatrixForm& f = s.form();
    const int cell = f.paneCellSize(f.paneA);
    s.wait(50);
    const platform::Color marker = platform::rgb(1, 2, 3);
    f.paneA.canvas().Line(0, 0, 2, 2, marker, true, true);  // inside light (0, 0)

    BankState& a = s.state().bankA;
    a.frame.setRgb(3, 2, 0, 255, 0);
    s.wait(50);  // not flagged: nothing drawn
    EXPECT_EQ(cellColour(f.paneA, cell, 3, 2), platform::rgb(255, 0, 0));

    a.dirty = true;
    s.wait(50);
    EXPECT_EQ(cellColour(f.paneA, cell, 3, 2), platform::rgb(0, 255, 0));
    EXPECT_EQ(a.shadow.rgb(3, 2), platform::rgb(0, 255, 0));
    EXPECT_EQ(f.paneA.surface().at(1, 1), marker);  // light (0, 0) did not change
    EXPECT_FALSE(a.dirty);
}

TEST(PreviewPanes, CellSizeFollowsTheLongerSideOfTheGrid) {
    KavrelSession s(gridOptions(50, 10));
    EXPECT_EQ(s.form().paneCellSize(s.form().paneM), 3);
    s.wait(50);
    EXPECT_EQ(s.form().paneM.surface().at(49 * 3 + 1, 9 * 3 + 1), platform::rgb(128, 0, 128));
    EXPECT_EQ(s.form().paneM.surface().at(1, 10 * 3 + 1), platform::rgb(0, 0, 0));
}

}  // namespace
}  // namespace kavrel::testing
