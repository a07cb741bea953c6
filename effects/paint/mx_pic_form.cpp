#include "effects/paint/mx_pic_form.h"

#include <string>

#include "core/bank_context.h"
#include "core/effect_services.h"
#include "core/shared_state.h"
#include "effects/paint/paint_effect.h"
#include "effects/paint/paint_geometry.h"
#include "effects/paint/paint_tools.h"

namespace kavrel {

namespace {

constexpr platform::Color kWindowGrey = platform::rgb(128, 128, 128);
constexpr platform::Color kControlGrey = platform::rgb(224, 224, 224);
constexpr platform::Color kWhite = platform::rgb(255, 255, 255);
constexpr float kClientWidth = 5430, kClientHeight = 5940;
constexpr float kFramePx = 4, kCaptionPx = 22;

struct Swatch {
    platform::Color color;
    float left, top;
};
constexpr Swatch kPalette[10] = {
    {platform::rgb(0, 0, 0), 1080, 5520},    {platform::rgb(255, 255, 255), 840, 5280},
    {platform::rgb(255, 0, 0), 120, 5280},   {platform::rgb(0, 255, 0), 840, 5520},
    {platform::rgb(0, 0, 255), 360, 5520},   {platform::rgb(0, 255, 255), 600, 5520},
    {platform::rgb(255, 128, 0), 360, 5280}, {platform::rgb(255, 255, 0), 600, 5280},
    {platform::rgb(255, 0, 255), 120, 5520}, {platform::rgb(192, 192, 192), 1080, 5280},
};

}  // namespace

MxPicForm::MxPicForm(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxPicForm"), services_(services) {
    layoutControls();
    wireHandlers();
}

void MxPicForm::layoutControls() {
    setCaption("Painting");
    setBackColor(kWindowGrey);
    setWidth(kClientWidth + 2 * kFramePx * platform::kTwipsPerPixel);
    setHeight(kClientHeight + (2 * kFramePx + kCaptionPx) * platform::kTwipsPerPixel);

    PColor.move(120, 120, 372, 372);
    PColor.setToolTipText("Color");
    PColor.setBackColor(platform::rgb(255, 0, 0));
    Label1.move(840, 120, 732, 252);
    Label1.setCaption("Name : ");
    Label1.setBackColor(kWindowGrey);
    Label1.setForeColor(kWhite);
    myName.move(1680, 120, 1452, 288);
    myName.setBackColor(kControlGrey);
    myName.setText("Painting");
    PGet.move(3480, 120, 1812, 372);
    PGet.setCaption("Get from other side");

    struct Tool {
        platform::Button& button;
        const char* tip;
        float top;
    };
    for (const Tool& t :
         {Tool{PPoint, "Point", 600}, Tool{PLine, "Line", 1080}, Tool{PRect2, "Rectangle", 1560},
          Tool{PRect, "Filled Rectangle", 2040}, Tool{PCircle2, "Circle", 2520},
          Tool{PCircle, "Filled Circle", 3000}, Tool{PFill, "Replace Color", 3600},
          Tool{PClear, "Clear", 4080}, Tool{PUndo, "Undo", 4680}}) {
        t.button.move(120, t.top, 372, 372);
        t.button.setToolTipText(t.tip);
    }

    Bild.move(960, 840, 4095, 4095);  // no border: 273 x 273 pixels inside
    Bild.canvas().setScaleMode(platform::ScaleMode::Pixels);
    Bild.setBackColor(kCanvasGrey);
    for (platform::LineShape* l : {&line1, &line2, &line3, &line4}) l->setVisible(false);

    struct Shift {
        platform::Button& button;
        const char* tip;
        float left, top, width, height;
    };
    for (const Shift& s :
         {Shift{BUp, "Up", 960, 600, 4092, 252}, Shift{BDown, "Down", 960, 4920, 4092, 252},
          Shift{BLeft, "Left", 720, 840, 252, 4092}, Shift{BRight, "Right", 5040, 840, 252, 4092},
          Shift{BUpLeft, "Up left", 720, 600, 252, 252},
          Shift{BUpRight, "Up right", 5040, 600, 252, 252},
          Shift{BDownLeft, "Down left", 720, 4920, 252, 252},
          Shift{BDownRight, "Down right", 5040, 4920, 252, 252}}) {
        s.button.move(s.left, s.top, s.width, s.height);
        s.button.setToolTipText(s.tip);
    }
    for (size_t i = 0; i < myPalette.size(); ++i) {
        myPalette[i].move(kPalette[i].left, kPalette[i].top, 252, 252);
        myPalette[i].setBackColor(kPalette[i].color);
    }
    minipic.move(5040, 5520, 252, 252);
    minipic.setVisible(false);
    OK.move(1560, 5400, 2772, 372);
    OK.setCaption("OK");

    for (platform::Button* b :
         {&PGet, &PPoint, &PLine, &PRect2, &PRect, &PCircle2, &PCircle, &PFill, &PClear, &PUndo,
          &BUp, &BDown, &BLeft, &BRight, &BUpLeft, &BUpRight, &BDownLeft, &BDownRight, &OK})
        b->setBackColor(kControlGrey);
}

void MxPicForm::wireHandlers() {
    Bild.onMouseDown = [this](int, int, float x, float y) { Bild_MouseDown(x, y); };
    Bild.onMouseMove = [this](int, int, float x, float y) { Bild_MouseMove(x, y); };
    Bild.onMouseUp = [this](int, int, float x, float y) { Bild_MouseUp(x, y); };
    Bild.onClick = [this] { Bild_Click(); };
    PPoint.onClick = [this] { chooseTool(kPoint); };
    PLine.onClick = [this] { chooseTool(kLine); };
    PRect.onClick = [this] { chooseTool(kFilledRect); };
    PCircle.onClick = [this] { chooseTool(kFilledCircle); };
    PRect2.onClick = [this] { chooseTool(kRect); };
    PCircle2.onClick = [this] { chooseTool(kCircle); };
    PFill.onClick = [this] { chooseTool(kReplace); };
    PColor.onClick = [this] { PColor_Click(); };
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    BUp.onClick = [this] { BUp_Click(); };
    BDown.onClick = [this] { BDown_Click(); };
    BLeft.onClick = [this] { BLeft_Click(); };
    BRight.onClick = [this] { BRight_Click(); };
    BUpLeft.onClick = [this] { BUpLeft_Click(); };
    BUpRight.onClick = [this] { BUpRight_Click(); };
    BDownLeft.onClick = [this] { BDownLeft_Click(); };
    BDownRight.onClick = [this] { BDownRight_Click(); };
    PClear.onClick = [this] { PClear_Click(); };
    PUndo.onClick = [this] { PUndo_Click(); };
    PGet.onClick = [this] { PGet_Click(); };
    for (size_t i = 0; i < myPalette.size(); ++i)
        myPalette[i].onClick = [this, i] { myPalette_Click(static_cast<int>(i)); };
    OK.onClick = [this] { OK_Click(); };
}

void MxPicForm::Form_Load() {
    dragState = 1;
    const SharedState& s = services_.state();
    coverGrid(undoPixels, s.gridCols(), s.gridRows());
    currentTool = kNoTool;
    if (Visible()) drawPaint();
}

void MxPicForm::Form_Paint() {
    dragState = 1;
    drawPaint();
}

void MxPicForm::openFor(BankContext& bank) {
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    bound_ = true;
    bankB_ = bank.isB();
    record_ = bank.state().curEff;
    coverGrid(entry->pixels, bank.cols(), bank.rows());
    // Undo right after opening gives back the entry as it was opened.
    undoPixels = entry->pixels;
    myName.setText(entry->name);
    PColor.setBackColor(entry->color1);
    if (platform::Window* main = services_.mainWindow()) {
        setLeft(main->Left() + main->Width() / 2 - Width() / 2);
        setTop(main->Top() + main->Height() / 2 - Height() / 2);
    }
    Show(false);
    drawPaint();
}

EffectRecord* MxPicForm::editedEntry() {
    if (!bound_) return nullptr;
    BankState& bank = services_.state().bank(bankB_);
    EffectRecord* entry = bank.currentEffect();
    if (entry == nullptr || bank.curEff != record_ ||
        entry->type != static_cast<int16_t>(EffectType::Paint)) {
        letGo();
        return nullptr;
    }
    return entry;
}

EffectRecord* MxPicForm::entryForChange() {
    EffectRecord* entry = editedEntry();
    if (entry == nullptr) return nullptr;
    const SharedState& s = services_.state();
    coverGrid(entry->pixels, s.gridCols(), s.gridRows());
    coverGrid(undoPixels, s.gridCols(), s.gridRows());
    return entry;
}

void MxPicForm::letGo() {
    bound_ = false;
    dragState = 1;
    hideLines();
    if (Visible()) Hide();
}

PaintGeometry MxPicForm::geometry() const {
    const SharedState& s = services_.state();
    return paintGeometry(Bild.surface().width(), Bild.surface().height(), s.gridCols(),
                         s.gridRows());
}

void MxPicForm::drawPaint() {
    EffectRecord* entry = entryForChange();
    if (entry == nullptr) return;
    drawCanvas(*entry, geometry());
    renderIntoBank();
}

void MxPicForm::drawCanvas(const EffectRecord& entry, const PaintGeometry& g) {
    platform::Canvas& canvas = Bild.canvas();
    canvas.setScaleMode(platform::ScaleMode::Pixels);
    canvas.setBackColor(kCanvasGrey);
    canvas.Cls();
    if (g.cell < 2) return;  // no room for a cell and its gap
    for (int x = 0; x < g.cols; ++x)
        for (int y = 0; y < g.rows; ++y) {
            canvas.Line(static_cast<float>(g.cellLeft(x)), static_cast<float>(g.cellTop(y)),
                        static_cast<float>(g.cellRight(x)), static_cast<float>(g.cellBottom(y)),
                        entry.pixels.get(x, y, 0u), true, true);
        }
}

void MxPicForm::renderIntoBank() {
    if (BankContext* bank = services_.bank(bankB_ ? BankId::B : BankId::A)) {
        kavrel::drawPaint(*bank);
        return;
    }
    SharedState& s = services_.state();
    renderPaint(s.bank(bankB_), s.gridCols(), s.gridRows());
    s.bank(bankB_).dirty = true;
    services_.mixMatrix(s.mixPos);
}

void MxPicForm::OK_Click() {
    EffectRecord* entry = editedEntry();
    if (entry == nullptr) return;
    BankState& bank = services_.state().bank(bankB_);
    const auto index = static_cast<size_t>(record_);
    if (bank.effOk.size() <= index) bank.effOk.resize(index + 1, false);
    bank.effOk[index] = true;
    entry->name = myName.Text();
    if (BankContext* ctx = services_.bank(bankB_ ? BankId::B : BankId::A)) {
        platform::ListView& list = ctx->list();
        const std::string key = std::to_string(record_);
        for (int row = 1; row <= list.Count(); ++row)
            if (list.SubItem(row, 1) == key) list.Item(row).Text = entry->name;
    }
    Hide();
}

void MxPicForm::myName_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    OK_Click();
}

std::optional<std::string> MxPicForm::answerProperty(platform::PropertyQuery& q) const {
    if (q.is("currentTool")) return platform::propertyNumber(int64_t{currentTool});
    if (q.is("dragState")) return platform::propertyNumber(int64_t{dragState});
    if (q.is("pressX")) return platform::propertyNumber(int64_t{pressX});
    if (q.is("pressY")) return platform::propertyNumber(int64_t{pressY});
    if (q.is("releaseX")) return platform::propertyNumber(int64_t{releaseX});
    if (q.is("releaseY")) return platform::propertyNumber(int64_t{releaseY});
    return Window::answerProperty(q);
}

}  // namespace kavrel
