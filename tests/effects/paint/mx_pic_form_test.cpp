// The Paint editor on the real host: opening, the canvas, the tools through
// the mouse, the picture operations, OK, and the editor staying with its entry.
#include <gtest/gtest.h>

#include "effects/paint/mx_pic_form.h"
#include "effects/paint/paint_geometry.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

using platform::MouseAction;

constexpr uint32_t kRed = platform::rgb(255, 0, 0);
constexpr uint32_t kGreen = platform::rgb(0, 255, 0);
constexpr uint32_t kBlue = platform::rgb(0, 0, 255);
constexpr uint32_t kGrey = platform::rgb(64, 64, 64);

class PaintEditor : public ::testing::Test {
  protected:
    explicit PaintEditor(int cols = 12, int rows = 12) : s(gridOptions(cols, rows)) {}

    // Bank A's running entry becomes Paint and its editor opens.
    MxPicForm& open(char bank = 'A') {
        const std::string b(1, bank);
        EXPECT_TRUE(s.driver.set("MatrixForm.type" + b, "Paint"));
        EXPECT_TRUE(s.driver.click("MatrixForm.edit" + b));
        return form();
    }
    MxPicForm& form() { return static_cast<MxPicForm&>(s.driver.window("MxPicForm")); }
    EffectRecord& entryA() { return s.state().bankA.eff[0]; }
    PaintGeometry geometry() {
        return paintGeometry(273, 273, s.state().gridCols(), s.state().gridRows());
    }
    float cx(int col) { return static_cast<float>(geometry().centreX(col)); }
    float cy(int row) { return static_cast<float>(geometry().centreY(row)); }

    void drag(float x0, float y0, float x1, float y1) {
        EXPECT_TRUE(s.driver.mouse("MxPicForm.Bild", MouseAction::Down, x0, y0));
        s.driver.mouse("MxPicForm.Bild", MouseAction::Move, x1, y1);
        s.driver.mouse("MxPicForm.Bild", MouseAction::Up, x1, y1);
    }
    void tool(const char* button) {
        EXPECT_TRUE(s.driver.click(std::string("MxPicForm.") + button));
    }
    uint32_t canvasAt(int64_t x, int64_t y) {
        return static_cast<uint32_t>(
            form().Bild.canvas().Point(static_cast<float>(x), static_cast<float>(y)));
    }

    KavrelSession s;
};

class WidePaintEditor : public PaintEditor {
  protected:
    WidePaintEditor() : PaintEditor(20, 10) {}
};

TEST_F(PaintEditor, OpeningShowsTheEntryOnTheCanvasAndInTheBankAndChangesNoField) {
    entryA().pixels.set(1, 0, kGreen);
    entryA().name = "sunset";
    entryA().color1 = kBlue;
    MxPicForm& f = open();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.Caption(), "Painting");
    EXPECT_EQ(f.myName.Text(), "sunset");
    EXPECT_EQ(f.PColor.BackColor(), kBlue);
    EXPECT_EQ(f.Bild.surface().width(), 273);  // no border

    const PaintGeometry g = geometry();
    EXPECT_EQ(canvasAt(g.cellLeft(1), g.cellTop(0)), kGreen);
    EXPECT_EQ(canvasAt(g.cellRight(1), g.cellBottom(0)), kGreen);
    EXPECT_EQ(canvasAt(g.cellRight(1) + 1, g.cellTop(0)), kGrey);  // the gap
    EXPECT_EQ(canvasAt(g.cellLeft(0), g.cellTop(0)), 0u);
    EXPECT_EQ(canvasAt(0, 0), kGrey);
    EXPECT_EQ(*s.plugin().framePixel('A', 1, 0), kGreen);
    EXPECT_EQ(*s.plugin().framePixel('A', 0, 0), 0u);

    EXPECT_EQ(entryA().color1, kBlue);
    EXPECT_EQ(entryA().name, "sunset");
    EXPECT_FALSE(s.state().bankA.effOk[0]);
    EXPECT_EQ(f.currentTool, MxPicForm::kNoTool);
}

TEST_F(WidePaintEditor, PointToolRoundsThePressAndTakesCellsLeftOfTheGrid) {
    MxPicForm& f = open();
    f.PColor.setBackColor(kRed);
    tool("PPoint");
    const PaintGeometry g = geometry();  // cell 13, ox 5, oy 72
    ASSERT_EQ(g.ox, 5);
    // Pixel 17 is column 0's last, 18 column 1's first: 16.5 -> 16, 17.5 -> 18.
    drag(16.5f, cy(2), 16.5f, cy(2));
    EXPECT_EQ(f.pressX, 16);
    EXPECT_EQ(entryA().pixels.get(0, 2, 9u), kRed);
    drag(17.5f, cy(3), 17.5f, cy(3));
    EXPECT_EQ(f.pressX, 18);
    EXPECT_EQ(entryA().pixels.get(1, 3, 9u), kRed);
    EXPECT_EQ(entryA().pixels.get(0, 3, 9u), 0u);
    drag(2, cy(5), 2, cy(5));  // left of the grid by less than a cell
    EXPECT_EQ(entryA().pixels.get(0, 5, 9u), kRed);
    drag(cx(4), 40, cx(4), 40);  // above the grid by more than a cell: nothing
    for (int y = 0; y < 10; ++y) EXPECT_NE(entryA().pixels.get(4, y, 9u), kRed);
    EXPECT_EQ(*s.plugin().framePixel('A', 1, 3), kRed);
}

TEST_F(PaintEditor, DraggingShowsTheRubberBandAndPaintsAtTheRelease) {
    MxPicForm& f = open();
    f.PColor.setBackColor(kRed);
    tool("PRect2");
    ASSERT_TRUE(s.driver.mouse("MxPicForm.Bild", MouseAction::Down, 20.25f, 30.5f));
    EXPECT_EQ(f.dragState, 2);
    s.driver.mouse("MxPicForm.Bild", MouseAction::Move, 80.5f, 90.75f);
    EXPECT_TRUE(f.line1.Visible() && f.line2.Visible() && f.line3.Visible() && f.line4.Visible());
    EXPECT_EQ(f.line1.BorderColor(), kRed);
    EXPECT_FLOAT_EQ(f.line1.Y2(), 30.5f);          // edge through the press point
    EXPECT_FLOAT_EQ(f.line2.X2(), 20.25f);         // side through the press point
    EXPECT_FLOAT_EQ(f.line3.X1(), 80.5f);          // side through the pointer
    EXPECT_FLOAT_EQ(f.line4.Y1(), 90.75f);         // edge through the pointer
    EXPECT_EQ(entryA().pixels.get(0, 1, 9u), 0u);  // nothing before the release
    s.driver.mouse("MxPicForm.Bild", MouseAction::Up, cx(3), cy(3));
    EXPECT_EQ(f.dragState, 1);
    EXPECT_FALSE(f.line1.Visible() || f.line2.Visible() || f.line3.Visible() || f.line4.Visible());
    EXPECT_EQ(*s.plugin().framePixel('A', 0, 1), kRed);
    EXPECT_EQ(*s.plugin().framePixel('A', 3, 3), kRed);
    EXPECT_EQ(*s.plugin().framePixel('A', 1, 2), 0u);  // inside the outline

    tool("PLine");
    s.driver.mouse("MxPicForm.Bild", MouseAction::Down, cx(0), cy(5));
    EXPECT_TRUE(f.line1.Visible());
    EXPECT_FALSE(f.line2.Visible());
    s.driver.mouse("MxPicForm.Bild", MouseAction::Up, cx(5), cy(5));
    for (int x = 0; x <= 5; ++x) EXPECT_EQ(entryA().pixels.get(x, 5, 9u), kRed) << x;

    tool("PCircle");
    drag(cx(6), cy(6), cx(10), cy(10));
    EXPECT_EQ(entryA().pixels.get(8, 6, 9u), kRed);
    EXPECT_EQ(entryA().pixels.get(6, 6, 9u), 0u);
    EXPECT_EQ(entryA().pixels.get(8, 8, 9u), kRed);
}

TEST_F(PaintEditor, ReplaceColourTakesWhatTheCanvasShowsAtTheRelease) {
    MxPicForm& f = open();
    entryA().pixels.set(0, 0, kGrey);
    entryA().pixels.set(1, 0, kBlue);
    entryA().pixels.set(2, 0, kBlue);
    f.PColor.setBackColor(kRed);
    tool("PFill");
    const PaintGeometry g = geometry();
    drag(static_cast<float>(g.cellRight(5) + 1), cy(5), static_cast<float>(g.cellRight(5) + 1),
         cy(5));  // a gap: only the cells of exactly the grey
    EXPECT_EQ(entryA().pixels.get(0, 0, 9u), kRed);
    EXPECT_EQ(entryA().pixels.get(1, 0, 9u), kBlue);
    EXPECT_EQ(entryA().pixels.get(3, 0, 9u), 0u);

    f.PColor.setBackColor(kGreen);
    drag(cx(1), cy(0), cx(1), cy(0));  // on a cell: its colour, itself included
    EXPECT_EQ(entryA().pixels.get(1, 0, 9u), kGreen);
    EXPECT_EQ(entryA().pixels.get(2, 0, 9u), kGreen);
    EXPECT_EQ(entryA().pixels.get(0, 0, 9u), kRed);

    drag(cx(5), 300, cx(5), 300);  // outside the canvas: nothing
    EXPECT_EQ(entryA().pixels.get(3, 0, 9u), 0u);
}

TEST_F(PaintEditor, ToolButtonsHighlightTheChosenOne) {
    MxPicForm& f = open();
    tool("PCircle2");
    EXPECT_EQ(f.currentTool, MxPicForm::kCircle);
    EXPECT_EQ(f.PCircle2.BackColor(), platform::rgb(255, 240, 150));
    tool("PLine");
    EXPECT_EQ(f.currentTool, MxPicForm::kLine);
    EXPECT_EQ(f.PCircle2.BackColor(), platform::rgb(220, 220, 220));
    EXPECT_EQ(f.PLine.BackColor(), platform::rgb(255, 240, 150));
}

TEST_F(PaintEditor, ClearUndoAndGetActOnTheEntry) {
    entryA().pixels.set(2, 2, kGreen);
    MxPicForm& f = open();
    tool("PUndo");  // right after opening: the entry as opened
    EXPECT_EQ(entryA().pixels.get(2, 2, 9u), kGreen);

    tool("PClear");
    EXPECT_EQ(entryA().pixels.get(2, 2, 9u), 0u);
    EXPECT_EQ(*s.plugin().framePixel('A', 2, 2), 0u);
    tool("PUndo");
    tool("PUndo");  // a copy, not an exchange
    EXPECT_EQ(entryA().pixels.get(2, 2, 9u), kGreen);

    // A press, a shift, then Undo: back to before the press.
    f.PColor.setBackColor(kRed);
    tool("PPoint");
    drag(cx(0), cy(0), cx(0), cy(0));
    tool("BDownRight");
    EXPECT_EQ(entryA().pixels.get(1, 1, 9u), kRed);
    EXPECT_EQ(entryA().pixels.get(3, 3, 9u), kGreen);
    tool("PUndo");
    EXPECT_EQ(entryA().pixels.get(0, 0, 9u), 0u);
    EXPECT_EQ(entryA().pixels.get(2, 2, 9u), kGreen);

    // Get takes bank B's frame (blue) and no snapshot.
    tool("PGet");
    EXPECT_EQ(entryA().pixels.get(7, 4, 9u), kBlue);
    EXPECT_EQ(*s.plugin().framePixel('A', 11, 11), kBlue);
    tool("PUndo");
    EXPECT_EQ(entryA().pixels.get(7, 4, 9u), 0u);
    EXPECT_EQ(entryA().pixels.get(2, 2, 9u), kGreen);
}

TEST_F(PaintEditor, ShiftButtonsWrapTheEntryInAllEightDirections) {
    entryA().pixels.set(0, 0, kGreen);
    open();
    struct Case {
        const char* button;
        int x, y;
    };
    // Each from (0, 0), undone by the opposite move.
    for (const Case& c : {Case{"BUp", 0, 11}, Case{"BDown", 0, 1}, Case{"BLeft", 11, 0},
                          Case{"BRight", 1, 0}, Case{"BUpLeft", 11, 11}, Case{"BUpRight", 1, 11},
                          Case{"BDownLeft", 11, 1}, Case{"BDownRight", 1, 1}}) {
        entryA().pixels.fill(0u);
        entryA().pixels.set(0, 0, kGreen);
        tool(c.button);
        EXPECT_EQ(entryA().pixels.get(c.x, c.y, 9u), kGreen) << c.button;
        EXPECT_EQ(*s.plugin().framePixel('A', c.x, c.y), kGreen) << c.button;
        EXPECT_EQ(entryA().pixels.get(0, 0, 9u), 0u) << c.button;
    }
}

TEST_F(PaintEditor, PaletteAndMixerSetTheCurrentColour) {
    MxPicForm& f = open();
    const uint32_t palette[10] = {platform::rgb(0, 0, 0),     platform::rgb(255, 255, 255),
                                  platform::rgb(255, 0, 0),   platform::rgb(0, 255, 0),
                                  platform::rgb(0, 0, 255),   platform::rgb(0, 255, 255),
                                  platform::rgb(255, 128, 0), platform::rgb(255, 255, 0),
                                  platform::rgb(255, 0, 255), platform::rgb(192, 192, 192)};
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(s.driver.click("MxPicForm.myPalette(" + std::to_string(i) + ")"));
        EXPECT_EQ(f.PColor.BackColor(), palette[i]) << i;
    }
    EXPECT_EQ(entryA().pixels.get(0, 0, 9u), 0u);  // nothing painted

    s.plugin().desktop().queueAction([&] {
        ASSERT_TRUE(s.driver.set("MxColorMixer.Sred", "10"));
        ASSERT_TRUE(s.driver.click("MxColorMixer.Bcancel"));
    });
    tool("PColor");
    EXPECT_EQ(f.PColor.BackColor(), palette[9]);
    EXPECT_EQ(s.state().mixerOldColor, palette[9]);
    s.plugin().desktop().queueAction([&] {
        ASSERT_TRUE(s.driver.set("MxColorMixer.Sred", "10"));
        ASSERT_TRUE(s.driver.click("MxColorMixer.BOK"));
    });
    tool("PColor");
    EXPECT_EQ(f.PColor.BackColor(), platform::rgb(10, 192, 192));
}

TEST_F(PaintEditor, OkAndEnterNameTheEntryAndItsListItem) {
    MxPicForm& f = open();
    ASSERT_TRUE(s.driver.set("MxPicForm.myName", "dots"));
    EXPECT_EQ(entryA().name, "new effect");  // only OK takes the name
    ASSERT_TRUE(s.driver.key("MxPicForm.myName", 13));
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(entryA().name, "dots");
    EXPECT_EQ(s.form().efxAList.Item(1).Text, "dots");
    EXPECT_TRUE(s.state().bankA.effOk[0]);

    // With no item selected, and an emptied name.
    open();
    s.form().efxAList.Deselect();
    ASSERT_TRUE(s.driver.set("MxPicForm.myName", ""));
    ASSERT_TRUE(s.driver.click("MxPicForm.OK"));
    EXPECT_EQ(entryA().name, "");
    EXPECT_EQ(s.form().efxAList.Item(1).Text, "");
}

TEST_F(PaintEditor, EditingTheOtherBankConfirmsAndCloseallHides) {
    open();
    ASSERT_TRUE(s.driver.set("MxPicForm.myName", "first"));
    MxPicForm& f = open('B');
    EXPECT_EQ(entryA().name, "first");
    EXPECT_TRUE(f.Visible());
    f.PColor.setBackColor(kGreen);
    tool("PPoint");
    drag(cx(3), cy(3), cx(3), cy(3));
    EXPECT_EQ(s.state().bankB.eff[0].pixels.get(3, 3, 9u), kGreen);
    EXPECT_EQ(*s.plugin().framePixel('B', 3, 3), kGreen);
    EXPECT_EQ(entryA().pixels.get(3, 3, 9u), 0u);
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(f.Visible());
}

TEST_F(PaintEditor, TheEditorLetsGoOfAnEntryThatIsNoLongerRunning) {
    ASSERT_TRUE(s.driver.click("MatrixForm.addA"));
    MxPicForm& f = open();
    f.PColor.setBackColor(kRed);
    tool("PPoint");
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 2));  // another entry runs
    EXPECT_FALSE(f.Visible());                                // hidden at once
    EXPECT_FALSE(s.driver.click("MxPicForm.PClear"));
    f.PUndo_Click();
    f.myName.setText("renamed");
    f.OK_Click();
    EXPECT_EQ(s.state().bankA.eff[1].name, "new effect");
    EXPECT_EQ(entryA().name, "new effect");
    EXPECT_FALSE(s.state().bankA.effOk[1]);
    EXPECT_EQ(s.state().bankA.eff[1].pixels.get(0, 0, 9u), 0u);

    // A type change of the edited entry has the same effect.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    open();
    entryA().type = static_cast<int16_t>(EffectType::Color);
    tool("PGet");
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(entryA().pixels.get(0, 0, 9u), 0u);
}

TEST_F(PaintEditor, AGridChangeBetweenEditsGrowsPictureAndSnapshot) {
    MxPicForm& f = open();
    f.PColor.setBackColor(kRed);
    tool("PPoint");
    drag(cx(1), cy(1), cx(1), cy(1));
    s.state().sizeGrid(20, 14);
    entryA().pixels.assign(12, 12, 0u);  // an entry from the smaller grid
    entryA().pixels.set(1, 1, kRed);
    tool("PRect");
    drag(cx(18), cy(12), cx(19), cy(13));
    EXPECT_EQ(entryA().pixels.get(19, 13, 9u), kRed);
    EXPECT_EQ(entryA().pixels.get(1, 1, 9u), kRed);
    EXPECT_EQ(*s.plugin().framePixel('A', 19, 13), kRed);
    tool("PUndo");
    EXPECT_EQ(entryA().pixels.get(19, 13, 9u), 0u);
    EXPECT_EQ(entryA().pixels.get(1, 1, 9u), kRed);
}

}  // namespace
}  // namespace kavrel::testing
