#pragma once
// The Paint editor "Painting": the entry's picture enlarged as a grid of cells
// on the canvas Bild, painted with seven tools in the current colour, shifted,
// cleared, undone (one level) or taken from the other bank. Every change goes
// straight into the entry and is shown in the bank at once. The editor stays
// with the entry it was opened on; once that entry is no longer its bank's
// running Paint entry, the editor hides and writes nothing more.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/grid2d.h"
#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/line_shape.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class BankContext;
class EffectServices;
struct EffectRecord;
struct PaintGeometry;

class MxPicForm : public platform::Window {
  public:
    // Tool codes.
    static constexpr int16_t kNoTool = 0;
    static constexpr int16_t kPoint = 1;
    static constexpr int16_t kLine = 2;
    static constexpr int16_t kFilledRect = 3;
    static constexpr int16_t kFilledCircle = 4;
    static constexpr int16_t kRect = 5;
    static constexpr int16_t kCircle = 6;
    static constexpr int16_t kReplace = 7;
    static constexpr platform::Color kCanvasGrey = platform::rgb(64, 64, 64);

    MxPicForm(platform::Desktop& desktop, EffectServices& services);

    PLATFORM_CONTROL(platform::PictureBox, PColor);
    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::TextBox, myName);
    PLATFORM_CONTROL(platform::Button, PGet);
    PLATFORM_CONTROL(platform::Button, PPoint);
    PLATFORM_CONTROL(platform::Button, PLine);
    PLATFORM_CONTROL(platform::Button, PRect2);
    PLATFORM_CONTROL(platform::Button, PRect);
    PLATFORM_CONTROL(platform::Button, PCircle2);
    PLATFORM_CONTROL(platform::Button, PCircle);
    PLATFORM_CONTROL(platform::Button, PFill);
    PLATFORM_CONTROL(platform::Button, PClear);
    PLATFORM_CONTROL(platform::Button, PUndo);
    PLATFORM_CONTROL(platform::PictureBox, Bild);
    PLATFORM_CONTROL(platform::LineShape, line1);
    PLATFORM_CONTROL(platform::LineShape, line2);
    PLATFORM_CONTROL(platform::LineShape, line3);
    PLATFORM_CONTROL(platform::LineShape, line4);
    PLATFORM_CONTROL(platform::Button, BUp);
    PLATFORM_CONTROL(platform::Button, BDown);
    PLATFORM_CONTROL(platform::Button, BLeft);
    PLATFORM_CONTROL(platform::Button, BRight);
    PLATFORM_CONTROL(platform::Button, BUpLeft);
    PLATFORM_CONTROL(platform::Button, BUpRight);
    PLATFORM_CONTROL(platform::Button, BDownLeft);
    PLATFORM_CONTROL(platform::Button, BDownRight);
    PLATFORM_CONTROL_ARRAY(platform::PictureBox, myPalette, 10);
    // Kept hidden: circles are computed exactly (effects/paint/paint_tools.h).
    PLATFORM_CONTROL(platform::PictureBox, minipic);
    PLATFORM_CONTROL(platform::Button, OK);

    // Fills the editor from the bank's running entry, which it then edits,
    // places it over the main window, shows it and draws.
    void openFor(BankContext& bank);
    // Redraws the canvas from the entry and renders the entry into its bank.
    void drawPaint();
    void OK_Click();

    int16_t currentTool = kNoTool;
    int16_t dragState = 1;  // 1 idle, 2 pressed on the canvas
    int16_t pressX = 0, pressY = 0;
    int16_t releaseX = 0, releaseY = 0;
    Grid2D<uint32_t> undoPixels;

    // The edited entry while it is still its bank's running Paint entry.
    EffectRecord* editedEntry();

    std::optional<std::string> answerProperty(platform::PropertyQuery& q) const override;

    // Handlers.
    void Bild_MouseDown(float x, float y);
    void Bild_MouseMove(float x, float y);
    void Bild_MouseUp(float x, float y);
    void Bild_Click();
    void chooseTool(int16_t tool);
    void PColor_Click();
    void myName_KeyPress(int& keyAscii);
    void BUp_Click();
    void BDown_Click();
    void BLeft_Click();
    void BRight_Click();
    void BUpLeft_Click();
    void BUpRight_Click();
    void BDownLeft_Click();
    void BDownRight_Click();
    void PClear_Click();
    void PUndo_Click();
    void PGet_Click();
    void myPalette_Click(int index);

  protected:
    void Form_Load() override;
    void Form_Paint() override;

  private:
    void layoutControls();
    void wireHandlers();
    // The entry with its picture and the undo snapshot grown to the grid.
    EffectRecord* entryForChange();
    // One wrap-around shift of the picture, then a redraw.
    void shiftPicture(void (*shift)(Grid2D<uint32_t>&, int, int));
    void applyTool(EffectRecord& entry, const PaintGeometry& g, float x, float y);
    void drawCanvas(const EffectRecord& entry, const PaintGeometry& g);
    void renderIntoBank();
    void hideLines();
    // The entry is gone: hide and write nothing more.
    void letGo();
    PaintGeometry geometry() const;
    platform::Color currentColor() const { return PColor.BackColor(); }

    EffectServices& services_;
    bool bound_ = false;
    bool bankB_ = false;
    int16_t record_ = 0;
    float pressExactX_ = 0, pressExactY_ = 0;
};

}  // namespace kavrel
