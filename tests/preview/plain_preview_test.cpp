// The plain preview's cell geometry and boxes.
#include <gtest/gtest.h>

#include "core/frame.h"
#include "platform/drawing/surface.h"
#include "preview/plain_preview.h"

namespace kavrel {
namespace {

TEST(PlainPreviewTest, GeometryCentresTheGridWithTenPixelsOfMargin) {
    CellGeometry g = plainGeometry(130, 130, 12, 12);
    EXPECT_EQ(g.cellWidth, 10);
    EXPECT_EQ(g.cellHeight, 10);
    EXPECT_EQ(g.offsetX, 5);
    EXPECT_EQ(g.offsetY, 5);
    g = plainGeometry(421, 300, 10, 12);
    EXPECT_EQ(g.cellWidth, 41);   // 411 \ 10
    EXPECT_EQ(g.cellHeight, 24);  // 290 \ 12
    EXPECT_EQ(g.offsetX, 5);      // 11 \ 2
    EXPECT_EQ(g.offsetY, 6);      // 12 \ 2
    // No lower bound: a tiny area gives cells of 0 or less.
    g = plainGeometry(6, 10, 12, 12);
    EXPECT_EQ(g.cellWidth, 0);
    EXPECT_EQ(g.cellHeight, 0);
    EXPECT_EQ(plainGeometry(0, 0, 1, 1).cellWidth, -10);
}

TEST(PlainPreviewTest, BoxesStopTwoPixelsShortOfTheNextCellLeavingABlackGap) {
    Frame frameM(12, 12), drawn(12, 12);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) frameM.setRgb(x, y, 0, 200, 0);
    platform::Surface surface(130, 130, 0);
    const CellGeometry g = plainGeometry(130, 130, 12, 12);
    EXPECT_EQ(drawChangedCells(surface, g, frameM, drawn, 12, 12), 144);
    const platform::Color green = platform::rgb(0, 200, 0);
    EXPECT_EQ(surface.at(5, 5), green);
    EXPECT_EQ(surface.at(13, 13), green);
    EXPECT_EQ(surface.at(14, 5), 0u) << "gap column";
    EXPECT_EQ(surface.at(5, 14), 0u) << "gap row";
    EXPECT_EQ(surface.at(15, 15), green);
    EXPECT_EQ(surface.at(4, 4), 0u) << "margin";
    EXPECT_EQ(surface.at(123, 123), green);
    EXPECT_EQ(surface.at(124, 124), 0u);
    EXPECT_EQ(drawn, frameM);
}

TEST(PlainPreviewTest, OnlyChangedLightsAreRedrawn) {
    Frame frameM(4, 4), drawn(4, 4);
    platform::Surface surface(50, 50, platform::rgb(9, 9, 9));
    const CellGeometry g = plainGeometry(50, 50, 4, 4);
    EXPECT_EQ(drawChangedCells(surface, g, frameM, drawn, 4, 4), 0)
        << "black equals the zeroed copy";
    EXPECT_EQ(surface.at(10, 10), platform::rgb(9, 9, 9));

    frameM.setRgb(2, 1, 255, 0, 0);
    EXPECT_EQ(drawChangedCells(surface, g, frameM, drawn, 4, 4), 1);
    const int px = 2 * g.cellWidth + g.offsetX, py = 1 * g.cellHeight + g.offsetY;
    EXPECT_EQ(surface.at(px, py), platform::rgb(255, 0, 0));
    EXPECT_EQ(surface.at(px - 2, py), platform::rgb(9, 9, 9)) << "its neighbour was not touched";
    EXPECT_EQ(drawn, frameM);
}

TEST(PlainPreviewTest, FullRedrawPaintsBlackLightsAndLeavesTheCopyAlone) {
    Frame frameM(2, 2), drawn(2, 2);
    frameM.setRgb(1, 1, 1, 2, 3);
    platform::Surface surface(40, 40, platform::rgb(255, 255, 255));
    drawAllCells(surface, plainGeometry(40, 40, 2, 2), frameM, 2, 2);
    EXPECT_EQ(surface.at(0, 0), 0u);
    EXPECT_EQ(surface.at(30, 30), platform::rgb(1, 2, 3));
    EXPECT_EQ(drawn.rgb(1, 1), 0u);
}

TEST(PlainPreviewTest, DegenerateCellsDrawInsideTheSurfaceOnly) {
    Frame frameM(50, 50), drawn(50, 50);
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 50; ++y) frameM.setRgb(x, y, 7, 7, 7);
    platform::Surface surface(3, 3, 0);
    const CellGeometry g = plainGeometry(3, 3, 50, 50);
    EXPECT_LE(g.cellWidth, 0);
    EXPECT_EQ(drawChangedCells(surface, g, frameM, drawn, 50, 50), 2500);
    drawAllCells(surface, g, frameM, 50, 50);
}

}  // namespace
}  // namespace kavrel
