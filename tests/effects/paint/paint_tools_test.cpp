#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effects/paint/paint_tools.h"
#include "platform/drawing/surface.h"

namespace kavrel {
namespace {

constexpr uint32_t kInk = platform::rgb(255, 0, 0);
constexpr int kCanvas = 273;

// The picture as rows of '#' (kInk) and '.' (anything else).
std::vector<std::string> rowsOf(const Picture& p, int cols, int rows) {
    std::vector<std::string> out;
    for (int y = 0; y < rows; ++y) {
        std::string line;
        for (int x = 0; x < cols; ++x) line += p.get(x, y, 0u) == kInk ? '#' : '.';
        out.push_back(line);
    }
    return out;
}

// A picture whose cell (x, y) holds x + 10 y + 1.
Picture numbered(int cols, int rows) {
    Picture p(cols, rows, 0u);
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) p.set(x, y, static_cast<uint32_t>(x + 10 * y + 1));
    return p;
}

class PaintTools : public ::testing::Test {
  protected:
    void grid(int cols, int rows) {
        g = paintGeometry(kCanvas, kCanvas, cols, rows);
        p = Picture(cols, rows, 0u);
    }
    CanvasPoint centre(int col, int row) const { return {g.centreX(col), g.centreY(row)}; }
    std::vector<std::string> picture() const { return rowsOf(p, g.cols, g.rows); }

    PaintGeometry g;
    Picture p;
};

TEST_F(PaintTools, LinePaintsOneCellPerColumnThroughTheCentres) {
    grid(12, 12);  // cell 22
    paintLine(p, g, centre(0, 0), centre(4, 2), kInk);
    const std::vector<std::string> expected{"#...........", ".##.........", "...##.......",
                                            "............"};
    const std::vector<std::string> rows = picture();
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 4), expected);

    Picture forward = p;
    p.fill(0u);
    paintLine(p, g, centre(4, 2), centre(0, 0), kInk);  // right to left
    EXPECT_EQ(p, forward);
}

TEST_F(PaintTools, SteepLinesPaintOneCellPerRowAndEqualExtentsRunAlongRows) {
    grid(12, 12);
    paintLine(p, g, centre(1, 0), centre(2, 5), kInk);
    const std::vector<std::string> rows = picture();
    for (int y = 0; y <= 5; ++y)
        EXPECT_EQ(std::count(rows[y].begin(), rows[y].end(), '#'), 1) << "row " << y;
    EXPECT_EQ(rows[6], "............");

    // 44 pixels across and down from off-centre points: along the rows it
    // reaches row 2; along the columns it would stop at column 1.
    p.fill(0u);
    paintLine(p, g, {10, 16}, {54, 60}, kInk);
    EXPECT_EQ(p.get(0, 0, 0u), kInk);
    EXPECT_EQ(p.get(1, 1, 0u), kInk);
    EXPECT_EQ(p.get(2, 2, 0u), kInk);
}

TEST_F(PaintTools, ZeroLengthLinesPaintNothingAndOffGridCellsAreSkipped) {
    grid(12, 12);
    paintLine(p, g, centre(3, 3), centre(3, 3), kInk);
    paintLine(p, g, {40, 41}, {40, 41}, kInk);
    EXPECT_EQ(p, Picture(12, 12, 0u));

    // From far left of the grid to the centre of cell (2, 0): only columns 0..2.
    paintLine(p, g, {-30000, 16}, centre(2, 0), kInk);
    EXPECT_EQ(picture()[0], "###.........");
}

TEST_F(PaintTools, RectanglesDoNotDependOnTheDragDirection) {
    grid(6, 5);
    paintRect(p, g, cellBox(g, centre(4, 3), centre(1, 1)), true, kInk);
    const std::vector<std::string> filled{"......", ".####.", ".####.", ".####.", "......"};
    EXPECT_EQ(picture(), filled);

    p.fill(0u);
    paintRect(p, g, cellBox(g, centre(1, 1), centre(4, 3)), false, kInk);
    const std::vector<std::string> outline{"......", ".####.", ".#..#.", ".####.", "......"};
    EXPECT_EQ(picture(), outline);

    p.fill(0u);
    paintRect(p, g, cellBox(g, centre(0, 2), centre(5, 2)), false, kInk);  // one row high
    EXPECT_EQ(picture(),
              (std::vector<std::string>{"......", "......", "######", "......", "......"}));
}

TEST_F(PaintTools, RectanglesReachingOffTheGridPaintTheirPartOnIt) {
    grid(5, 5);
    paintRect(p, g, CellBox{-3, -3, 1, 1}, false, kInk);
    EXPECT_EQ(picture(), (std::vector<std::string>{".#...", "##...", ".....", ".....", "....."}));
}

TEST_F(PaintTools, CirclesFollowTheExactWholeNumberRule) {
    grid(7, 5);
    paintCircle(p, g, CellBox{0, 0, 4, 4}, true, kInk);
    EXPECT_EQ(picture(),
              (std::vector<std::string>{"..#....", ".###...", "#####..", ".###...", "..#...."}));
    p.fill(0u);
    paintCircle(p, g, CellBox{0, 0, 4, 4}, false, kInk);
    EXPECT_EQ(picture(),
              (std::vector<std::string>{"..#....", ".#.#...", "#...#..", ".#.#...", "..#...."}));

    // A box of an even number of cells is symmetric: 4 x 4 keeps its middle.
    p.fill(0u);
    paintCircle(p, g, CellBox{3, 1, 6, 4}, true, kInk);
    EXPECT_EQ(picture(),
              (std::vector<std::string>{".......", ".......", "....##.", "....##.", "......."}));

    // Wide and flat: the middle row whole, the others only at the centre.
    p.fill(0u);
    paintCircle(p, g, CellBox{0, 1, 6, 3}, true, kInk);
    EXPECT_EQ(picture(),
              (std::vector<std::string>{".......", "...#...", "#######", "...#...", "......."}));
}

TEST_F(PaintTools, DegenerateCircleBoxesPaintTheWholeBox) {
    grid(5, 5);
    paintCircle(p, g, CellBox{2, 1, 2, 3}, false, kInk);  // one cell wide
    paintCircle(p, g, CellBox{0, 4, 3, 4}, true, kInk);   // one cell high
    paintCircle(p, g, CellBox{4, 0, 4, 0}, false, kInk);  // a single cell
    EXPECT_EQ(picture(), (std::vector<std::string>{"....#", "..#..", "..#..", "..#..", "####."}));
}

TEST_F(PaintTools, HugeCircleBoxesStayExactAndBoundedByTheGrid) {
    grid(12, 12);
    // Corners at the ends of the 16-bit range: the grid lies near the centre.
    paintCircle(p, g, cellBox(g, {-32768, -32768}, {32767, 32767}), true, kInk);
    EXPECT_EQ(p.get(0, 0, 0u), kInk);
    EXPECT_EQ(p.get(11, 11, 0u), kInk);
    p.fill(0u);
    paintCircle(p, g, cellBox(g, {-32768, -32768}, {32767, 32767}), false, kInk);
    EXPECT_EQ(p, Picture(12, 12, 0u));  // its outline lies far off
}

TEST(PaintPicture, ReplaceColourTakesExactlyThatColour) {
    Picture p(3, 1, 0u);
    p.set(0, 0, platform::rgb(64, 64, 64));
    p.set(1, 0, platform::rgb(64, 64, 65));
    p.set(2, 0, platform::rgb(64, 64, 64));
    replaceColor(p, 3, 1, platform::rgb(64, 64, 64), kInk);
    EXPECT_EQ(p.get(0, 0, 0u), kInk);
    EXPECT_EQ(p.get(1, 0, 0u), platform::rgb(64, 64, 65));
    EXPECT_EQ(p.get(2, 0, 0u), kInk);
}

TEST(PaintPicture, ShiftsWrapAroundInEveryDirection) {
    // A B C / D E F
    const Picture start = numbered(3, 2);
    const auto cells = [](const Picture& p) {
        std::vector<uint32_t> v;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) v.push_back(p.get(x, y, 0u));
        return v;
    };
    Picture p = start;
    shiftRight(p, 3, 2);
    EXPECT_EQ(cells(p), (std::vector<uint32_t>{3, 1, 2, 13, 11, 12}));
    p = start;
    shiftLeft(p, 3, 2);
    EXPECT_EQ(cells(p), (std::vector<uint32_t>{2, 3, 1, 12, 13, 11}));
    p = start;
    shiftDown(p, 3, 2);
    EXPECT_EQ(cells(p), (std::vector<uint32_t>{11, 12, 13, 1, 2, 3}));
    p = start;
    shiftUp(p, 3, 2);
    EXPECT_EQ(cells(p), (std::vector<uint32_t>{11, 12, 13, 1, 2, 3}));
    shiftDown(p, 3, 2);
    shiftRight(p, 3, 2);
    EXPECT_EQ(cells(p), (std::vector<uint32_t>{3, 1, 2, 13, 11, 12}));
    // The spare column and row stay untouched.
    EXPECT_EQ(p.get(3, 0, 1u), start.get(3, 0, 1u));
    EXPECT_EQ(p.get(0, 2, 1u), start.get(0, 2, 1u));
}

TEST(PaintPicture, ShiftsAlongASingleCellLineChangeNothingAndRepeatToTheStart) {
    const Picture column = numbered(1, 4);
    Picture p = column;
    shiftLeft(p, 1, 4);
    shiftRight(p, 1, 4);
    EXPECT_EQ(p, column);
    const Picture row = numbered(4, 1);
    p = row;
    shiftUp(p, 4, 1);
    shiftDown(p, 4, 1);
    EXPECT_EQ(p, row);
    for (int i = 0; i < 4; ++i) shiftLeft(p, 4, 1);
    EXPECT_EQ(p, row);
    shiftLeft(p, 4, 1);
    EXPECT_NE(p, row);
}

TEST(PaintPicture, CoverGridGrowsKeepingCellsAndNeverShrinks) {
    Picture p = numbered(2, 2);
    coverGrid(p, 4, 3);
    EXPECT_EQ(p.cols(), 4);
    EXPECT_EQ(p.rows(), 3);
    EXPECT_EQ(p.get(1, 1, 0u), 12u);
    EXPECT_EQ(p.get(3, 2, 99u), 0u);
    coverGrid(p, 1, 1);
    EXPECT_EQ(p.cols(), 4);

    Picture empty;
    coverGrid(empty, 2, 2);
    EXPECT_EQ(empty.get(2, 2, 99u), 0u);
}

TEST(PaintPicture, TakeFrameBuildsColoursFromTheFrameBytes) {
    Frame f(2, 2);
    f.setRgb(1, 0, 1, 2, 3);
    Picture p(2, 2, 7u);
    takeFrame(p, f, 2, 2);
    EXPECT_EQ(p.get(1, 0, 0u), 1u + 256u * 2u + 65536u * 3u);
    EXPECT_EQ(p.get(0, 1, 7u), 0u);
}

}  // namespace
}  // namespace kavrel
