#include "effects/color_scroll/mx_color_scroll.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "core/bank_context.h"
#include "core/effect_services.h"
#include "effects/color_scroll/color_scroll_effect.h"
#include "effects/common/beat_control.h"
#include "effects/common/colour_rows.h"
#include "effects/common/editor_window.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr float kListWidth = 220;
constexpr int kPictureSize = 16;

// A direction button's picture: a mark on the side the bands come from
// (directions 1 to 8 clockwise from the bottom edge), two marks at the
// edges or one at the centre line for the centre directions.
platform::PicturePtr directionPicture(int index, platform::Color ground) {
    auto p = std::make_shared<platform::Surface>(kPictureSize, kPictureSize, ground);
    constexpr platform::Color ink = platform::rgb(0, 0, 0);
    // Where the feed enters, for 1..8: bottom, bottom-right, right, top-right,
    // top, top-left, left, bottom-left.
    constexpr std::array<std::array<int, 2>, 9> feed{
        {{7, 7}, {7, 14}, {14, 14}, {14, 7}, {14, 1}, {7, 1}, {1, 1}, {1, 7}, {1, 14}}};
    const auto mark = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) p->put(x + dx, y + dy, ink);
    };
    if (index >= 1 && index <= 8) {
        mark(feed[static_cast<size_t>(index)][0], feed[static_cast<size_t>(index)][1]);
    } else if (index == 9 || index == 10) {
        for (int y = 2; y < kPictureSize - 2; ++y) {
            if (index == 9) {
                p->put(1, y, ink);
                p->put(kPictureSize - 2, y, ink);
            } else {
                p->put(kPictureSize / 2, y, ink);
            }
        }
    } else if (index == 11 || index == 12) {
        for (int x = 2; x < kPictureSize - 2; ++x) {
            if (index == 11) {
                p->put(x, 1, ink);
                p->put(x, kPictureSize - 2, ink);
            } else {
                p->put(x, kPictureSize / 2, ink);
            }
        }
    }
    return p;
}

// A width text as the entry stores it: rounded half to even, kept within
// the 32-bit range; 0 when it is no number.
int32_t widthOf(const std::string& text) {
    const std::optional<double> v = platform::parseNumber(text);
    if (!v) return 0;
    const double r = platform::roundHalfEven(*v);
    if (r <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (r >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

}  // namespace

MxColorScroll::MxColorScroll(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxColorScroll"), target_(services, EffectType::ColorScroll) {
    layoutControls();
    wireHandlers();
}

void MxColorScroll::layoutControls() {
    setCaption("ColorScroll");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(450 * platform::kTwipsPerPixel);
    Label1.setCaption("Name : ");
    Label1.move(8, 8, 60, 20);
    myName.move(72, 8, 172, 20);
    ColorList.move(8, 36, kListWidth, 160);
    const std::array<platform::Button*, 4> listButtons{&addColor, &removeColor, &upColor,
                                                       &downColor};
    for (size_t i = 0; i < listButtons.size(); ++i)
        listButtons[i]->move(232, 36 + 28 * static_cast<float>(i), 20, 20);
    fadeMode.setCaption("Fade Mode : ");
    fadeMode.move(8, 204, 120, 20);
    beatControl.setCaption("Beat Control : ");
    beatControl.move(132, 204, 120, 20);
    Label3.setCaption("Direction : ");
    Label3.move(8, 232, 100, 20);
    // Directions 0 to 8 in a row, the four centre directions below them.
    for (int i = 0; i < kScrollDirections; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        const float column = static_cast<float>(i < 9 ? i : i - 9);
        const float row = i < 9 ? 0.0f : 1.0f;
        b.move(8 + 22 * column, 256 + 22 * row, 20, 20);
        b.setPicture(directionPicture(i, platform::rgb(192, 192, 192)));
        b.setDisabledPicture(directionPicture(i, platform::rgb(160, 160, 160)));
        b.setDownPicture(directionPicture(i, platform::rgb(255, 255, 192)));
    }
    Label2.setCaption("Speed : ");
    Label2.move(8, 310, 60, 20);
    slSpeed.move(72, 310, 172, 24);
    slSpeed.setToolTipText("10s - 0,2s");
    OK.setCaption("OK");
    OK.move(90, 350, 80, 28);
}

void MxColorScroll::wireHandlers() {
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
    OK.onClick = [this] { OK_Click(); };
    addColor.onClick = [this] { addColor_Click(); };
    removeColor.onClick = [this] { removeColor_Click(); };
    upColor.onClick = [this] { upColor_Click(); };
    downColor.onClick = [this] { downColor_Click(); };
    ColorList.onAfterCellEdit = [this](const std::string& o, const std::string& n) {
        ColorList_AfterCellEdit(o, n);
    };
    ColorList.onSpinDown = [this] { ColorList_SpinDown(); };
    ColorList.onSpinUp = [this] { ColorList_SpinUp(); };
    ColorList.onDblClick = [this] { ColorList_DblClick(); };
    ColorList.onItemClick = [this](int row, int button, int column) {
        ColorList_ItemClick(row, button, column);
    };
    fadeMode.onClick = [this] { fadeMode_Click(); };
    beatControl.onClick = [this] { beatControl_Click(); };
    for (int i = 0; i < kScrollDirections; ++i)
        richtung[static_cast<size_t>(i)].onClick = [this, i] { richtung_Click(i); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    slSpeed.onScroll = [this] { slSpeed_Change(); };
}

void MxColorScroll::Form_Load() {
    ColorList.AddColumn("Color", kListWidth * 3 / 5);
    ColorList.AddColumn("Width", kListWidth * 3 / 10, 1);
}

void MxColorScroll::Form_Activate() {
    if (const EffectRecord* e = target_.entry()) showDirection(e->direction);
    deselectRow();
}

EffectRecord* MxColorScroll::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr && Visible()) Hide();
    return e;
}

void MxColorScroll::deselectRow() {
    if (ColorList.Count() > 0) ColorList.Deselect();
}

void MxColorScroll::showDirection(int direction) {
    // A direction outside 0..12 leaves every button disabled.
    for (int i = 0; i < kScrollDirections; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        b.setPicture(i == direction ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxColorScroll::fill(BankContext& bank) {
    target_.bind(bank);
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (e->speed == 0) e->speed = 50;
    struct Filling {
        bool& flag;
        ~Filling() { flag = false; }
    } filling{filling_};
    filling_ = true;
    myName.setText(e->name);
    ColorList.Clear();
    for (int k = 0; k < e->colorCount; ++k) {
        const size_t i = static_cast<size_t>(k);
        addColourRow(ColorList, i < e->colors.size() ? e->colors[i] : 0u,
                     platform::numberText(i < e->colorValues.size() ? e->colorValues[i] : 0));
    }
    beatControl.setValue(e->beat == 1 ? 1 : 0);
    fadeMode.setValue(e->blend != 0 ? 1 : 0);
    slSpeed.setValue(e->speed);
    filling_ = false;
    showEditor(target_.services(), *this);
}

void MxColorScroll::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxColorScroll::OK_Click() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e != nullptr && bank != nullptr) {
        target_.confirm(myName.Text(), e->colorCount >= 1);
        if (!bank->stepTimer().Enabled()) updateColorList2();
    }
    Hide();
}

void MxColorScroll::updateColorList2() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    const int rows = std::min(ColorList.Count(), static_cast<int>(INT16_MAX));
    e->colorCount = static_cast<int16_t>(rows);
    e->colors.assign(static_cast<size_t>(rows) + 1, 0u);
    e->colorValues.assign(static_cast<size_t>(rows) + 1, 0);
    for (int k = 0; k < rows; ++k) {
        e->colors[static_cast<size_t>(k)] = ColorList.Item(k + 1).ForeColor;
        e->colorValues[static_cast<size_t>(k)] = widthOf(ColorList.SubItem(k + 1, 1));
    }
    buildScrollStrip(*bank);
    BankState& s = bank->state();
    if (s.colIdx == -1 || s.colIdx > s.stripLen - 1) s.colIdx = 0;
    if (rows > 1 && !beatTicked()) {
        bank->stepTimer().setInterval(scrollInterval(e->speed));
        bank->stepTimer().setEnabled(true);
    }
}

void MxColorScroll::addColor_Click() {
    if (edited() == nullptr) return;
    const std::optional<uint32_t> color = target_.pickRow(0u);
    // Cancel adds nothing; the entry may also have gone while the mixer was shown.
    if (!color || edited() == nullptr) return;
    addColourRow(ColorList, *color, "1");
    updateColorList2();
}

void MxColorScroll::removeColor_Click() {
    if (edited() == nullptr) return;
    const std::optional<int> row = ColorList.SelectedIndex();
    if (ColorList.Count() > 0 && row && *row <= ColorList.Count()) ColorList.Remove(*row);
    updateColorList2();
}

void MxColorScroll::moveColor(int by) {
    if (edited() == nullptr) return;
    moveSelectedRow(ColorList, by);
    updateColorList2();
}

void MxColorScroll::ColorList_DblClick() {
    const std::optional<int> row = ColorList.SelectedIndex();
    if (edited() == nullptr || !row || *row > ColorList.Count()) return;
    const std::optional<uint32_t> color = target_.pickRow(ColorList.Item(*row).ForeColor);
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    // Cancel, or a list or entry that changed while the mixer was shown.
    if (!color || e == nullptr || bank == nullptr || *row > ColorList.Count()) return;
    ColorList.Item(*row).ForeColor = *color;
    // The running strip goes on from the recoloured row's position.
    if (e->colorCount >= 2) bank->state().colIdx = static_cast<int16_t>(*row - 1);
    updateColorList2();
}

void MxColorScroll::ColorList_ItemClick(int row, int button, int column) {
    if (button != 1 || row < 1 || row > ColorList.Count()) return;
    if (edited() == nullptr) return;
    if (column != 0) {
        if (ColorList.CurrentColumn() == 1)
            ColorList.StartSubItemEdit(row, 1, ColorList.SubItem(row, 1));
        return;
    }
    updateColorList2();
    ColorList.Deselect();
}

void MxColorScroll::ColorList_AfterCellEdit(const std::string& oldText,
                                            const std::string& newText) {
    if (edited() == nullptr) return;
    settleCellEdit(ColorList, oldText, newText);
    updateColorList2();
}

void MxColorScroll::spin(bool up) {
    if (edited() == nullptr) return;
    const std::optional<double> n = platform::parseNumber(ColorList.EditText());
    if (!n) return;  // a text that is no number stays
    const platform::Locale& locale = desktop().locale();
    if (up) {
        ColorList.setEditText(platform::numberText(*n + 1, locale));
    } else if (platform::roundHalfEven(*n) >= 1) {
        ColorList.setEditText(platform::numberText(*n - 1, locale));
    } else {
        ColorList.setEditText("1");
    }
}

void MxColorScroll::fadeMode_Click() {
    if (filling_) return;  // the box shows the entry's own setting
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->blend = fadeMode.Value() != 0 ? 1 : 0;
    buildScrollStrip(*bank);
}

void MxColorScroll::beatControl_Click() {
    if (filling_) return;  // the box shows the entry's own setting
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    setBeatControl(*bank, *e, beatTicked(), e->colorCount > 1);
}

void MxColorScroll::richtung_Click(int index) {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    showDirection(index);
    bank->state().step = 0;  // a diagonal builds up again from its corner
    e->direction = static_cast<int16_t>(index);
}

void MxColorScroll::slSpeed_Change() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    // Filling stores the value back and leaves the running timer alone.
    if (!filling_) bank->stepTimer().setInterval(scrollInterval(e->speed));
}

}  // namespace kavrel
