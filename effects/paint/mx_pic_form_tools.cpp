// The Paint editor's canvas gestures, its tools and its current colour.
#include "core/color_mixer.h"
#include "core/effect_services.h"
#include "core/shared_state.h"
#include "effects/paint/mx_pic_form.h"
#include "effects/paint/paint_geometry.h"
#include "effects/paint/paint_tools.h"

namespace kavrel {

namespace {

bool dragsBox(int16_t tool) {
    return tool >= MxPicForm::kFilledRect && tool <= MxPicForm::kCircle;
}

void placeLine(platform::LineShape& l, float x1, float y1, float x2, float y2) {
    l.setX1(x1);
    l.setY1(y1);
    l.setX2(x2);
    l.setY2(y2);
}

}  // namespace

void MxPicForm::Bild_MouseDown(float x, float y) {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    Bild.canvas().setScaleMode(platform::ScaleMode::Pixels);
    dragState = 2;
    for (platform::LineShape* l : {&line1, &line2, &line3, &line4})
        l->setBorderColor(currentColor());
    const SharedState& s = services_.state();
    copyCells(entry->pixels, undoPixels, s.gridCols(), s.gridRows());
    pressX = nearestPixel(x);
    pressY = nearestPixel(y);
    pressExactX_ = x;
    pressExactY_ = y;
    if (currentTool == kLine) {
        placeLine(line1, x, y, x, y);
        line1.setVisible(true);
    } else if (dragsBox(currentTool)) {
        for (platform::LineShape* l : {&line1, &line2, &line3, &line4}) {
            placeLine(*l, x, y, x, y);
            l->setVisible(true);
        }
    }
}

void MxPicForm::Bild_MouseMove(float x, float y) {
    if (dragState != 2) return;
    Bild.canvas().setScaleMode(platform::ScaleMode::Pixels);
    const float a = pressExactX_, b = pressExactY_;
    if (currentTool == kLine) {
        line1.setX2(x);
        line1.setY2(y);
    } else if (dragsBox(currentTool)) {
        placeLine(line1, a, b, x, b);
        placeLine(line2, a, b, a, y);
        placeLine(line3, x, b, x, y);
        placeLine(line4, a, y, x, y);
    }
}

void MxPicForm::Bild_MouseUp(float x, float y) {
    dragState = 1;
    Bild.canvas().setScaleMode(platform::ScaleMode::Pixels);
    releaseX = nearestPixel(x);
    releaseY = nearestPixel(y);
    EffectRecord* entry = entryForChange();
    if (entry != nullptr) applyTool(*entry, geometry(), x, y);
    hideLines();
    if (entry != nullptr) drawPaint();
}

void MxPicForm::applyTool(EffectRecord& entry, const PaintGeometry& g, float x, float y) {
    const CanvasPoint p0{pressX, pressY}, p1{releaseX, releaseY};
    const platform::Color color = currentColor();
    switch (currentTool) {
        case kLine:
            paintLine(entry.pixels, g, p0, p1, color);
            break;
        case kFilledRect:
        case kRect:
            paintRect(entry.pixels, g, cellBox(g, p0, p1), currentTool == kFilledRect, color);
            break;
        case kFilledCircle:
        case kCircle:
            paintCircle(entry.pixels, g, cellBox(g, p0, p1), currentTool == kFilledCircle, color);
            break;
        case kReplace: {
            // What the canvas shows there: a cell's colour, or the grey between
            // and around the cells; nothing outside the canvas.
            const int32_t shown = Bild.canvas().Point(x, y);
            if (shown < 0) break;
            const int64_t px = *Bild.canvas().pixelX(x), py = *Bild.canvas().pixelY(y);
            const int64_t col = g.column(px), row = g.row(py);
            const bool inCell = g.onGrid(col, row) && px >= g.cellLeft(col) &&
                                px <= g.cellRight(col) && py >= g.cellTop(row) &&
                                py <= g.cellBottom(row);
            const uint32_t from = inCell ? entry.pixels.get(col, row, 0u) : kCanvasGrey;
            replaceColor(entry.pixels, g.cols, g.rows, from, color);
            break;
        }
        default:
            break;  // the point tool paints at the click; no tool paints nothing
    }
}

void MxPicForm::Bild_Click() {
    if (currentTool != kPoint) return;
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    const PaintGeometry g = geometry();
    const int64_t col = g.column(pressX), row = g.row(pressY);
    if (!g.onGrid(col, row)) return;
    entry->pixels.set(col, row, currentColor());
    drawPaint();
}

void MxPicForm::hideLines() {
    for (platform::LineShape* l : {&line1, &line2, &line3, &line4}) l->setVisible(false);
}

void MxPicForm::chooseTool(int16_t tool) {
    const SharedState& s = services_.state();
    platform::Button* buttons[] = {&PPoint, &PLine, &PRect, &PCircle, &PRect2, &PCircle2, &PFill};
    for (platform::Button* b : buttons) b->setBackColor(s.buttonColor);
    if (tool >= kPoint && tool <= kReplace) buttons[tool - 1]->setBackColor(s.activeButtonColor);
    currentTool = tool;
}

void MxPicForm::PColor_Click() {
    PColor.setBackColor(pickColor(services_, currentColor()));
}

}  // namespace kavrel
