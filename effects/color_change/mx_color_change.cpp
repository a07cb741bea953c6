#include "effects/color_change/mx_color_change.h"

#include <array>
#include <string_view>
#include <utility>

#include "core/bank_context.h"
#include "core/effect_services.h"
#include "effects/color_change/color_change_entry.h"
#include "effects/color_change/color_change_timing.h"
#include "effects/common/beat_control.h"
#include "effects/common/colour_rows.h"
#include "effects/common/editor_window.h"
#include "effects/common/fill_color.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr std::array<std::string_view, 9> kFadeModeNames{"None",       "Fade",       "Random",
                                                         "FillDown",   "FillUp",     "ScrollUp",
                                                         "ScrollDown", "ScrollLeft", "ScrollRight"};
constexpr float kListWidth = 220;

}  // namespace

MxColorChange::MxColorChange(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxColorChange"), target_(services, EffectType::ColorChange) {
    layoutControls();
    wireHandlers();
}

void MxColorChange::layoutControls() {
    setCaption("ColorChange");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(260 * platform::kTwipsPerPixel);
    setHeight(430 * platform::kTwipsPerPixel);
    lblName.setCaption("Name :");
    lblName.move(8, 8, 60, 20);
    myName.move(72, 8, 172, 20);
    lblList.setCaption("Color List");
    lblList.move(8, 36, 120, 20);
    ColorList.move(8, 56, kListWidth, 160);
    const std::array<platform::Button*, 4> listButtons{&addColor, &removeColor, &upColor,
                                                       &downColor};
    for (size_t i = 0; i < listButtons.size(); ++i)
        listButtons[i]->move(232, 56 + 28 * static_cast<float>(i), 20, 20);
    lblFadeMode.setCaption("Fade Effect :");
    lblFadeMode.move(8, 228, 100, 20);
    cbFadeMode.move(112, 228, 132, 20);
    lblFade.setCaption("Fade Speed :");
    lblFade.move(8, 260, 100, 20);
    slFade.move(112, 260, 132, 24);
    slFade.setToolTipText("10-1 sec");
    lblSpeed.setCaption("Speed :");
    lblSpeed.move(8, 292, 100, 20);
    slSpeed.move(112, 292, 132, 24);
    slSpeed.setToolTipText("+/- 200%");
    lblBeat.setCaption("Beat Control :");
    lblBeat.move(8, 324, 100, 20);
    beatControl.move(112, 324, 20, 20);
    OK.setCaption("OK");
    OK.move(92, 360, 80, 28);
}

void MxColorChange::wireHandlers() {
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
    cbFadeMode.onClick = [this] { cbFadeMode_Click(); };
    slFade.onChange = [this] { slFade_Change(); };
    slFade.onScroll = [this] { slFade_Change(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    slSpeed.onScroll = [this] { slSpeed_Change(); };
    beatControl.onClick = [this] { beatControl_Click(); };
}

void MxColorChange::Form_Load() {
    ColorList.AddColumn("Color", kListWidth * 3 / 5);
    ColorList.AddColumn("Time(s)", kListWidth * 3 / 10, 1);
    for (std::string_view name : kFadeModeNames) cbFadeMode.AddItem(std::string(name));
}

EffectRecord* MxColorChange::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr && Visible()) Hide();
    return e;
}

void MxColorChange::deselectRow() {
    if (ColorList.Count() > 0) ColorList.Deselect();
}

void MxColorChange::fill(BankContext& bank) {
    target_.bind(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    struct Filling {
        bool& flag;
        ~Filling() { flag = false; }
    } filling{filling_};
    filling_ = true;
    const platform::Locale& locale = desktop().locale();
    myName.setText(e->name);
    ColorList.Clear();
    for (int16_t i = 0; i < e->colorCount; ++i)
        addColourRow(ColorList, colourOf(*e, i), platform::numberText(timeOf(*e, i), locale));
    slSpeed.setValue(e->speed);
    slFade.setValue(e->level);
    // The beat box first, so that the fade box shows the entry's own mode.
    beatControl.setValue(e->beat == 1 ? 1 : 0);
    cbFadeMode.setListIndex(e->fadeMode);
    filling_ = false;
    showEditor(target_.services(), *this);
}

void MxColorChange::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

bool MxColorChange::retime(BankContext& bank, EffectRecord& e) {
    BankState& s = bank.state();
    if (e.colorCount < 1 || s.colIdx < 0) return false;
    const int16_t i = checkedColourIndex(s, e);
    bank.stepTimer().setInterval(colourInterval(timeOf(e, i), slSpeed.Value()));
    return true;
}

void MxColorChange::restartAt(BankContext& bank, EffectRecord& e) {
    retime(bank, e);
    bank.stepTimer().setEnabled(true);
}

void MxColorChange::OK_Click() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) {
        Hide();
        return;
    }
    target_.confirm(myName.Text(), e->colorCount >= 1);
    e->speed = static_cast<int16_t>(slSpeed.Value());
    if (e->colorCount >= 2 && e->beat == 0) {
        BankState& s = bank->state();
        if (s.colIdx < 0) s.colIdx = 0;
        const int16_t i = checkedColourIndex(s, *e);
        e->color1 = colourOf(*e, i);
        retime(*bank, *e);
        e->color2 = colourOf(*e, i == 0 ? e->colorCount - 1 : i - 1);
        bank->stepTimer().setEnabled(true);
    }
    Hide();
}

void MxColorChange::updateColorList() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    const int16_t count = static_cast<int16_t>(ColorList.Count());  // rows stay few
    e->colorCount = count;
    e->colors.assign(static_cast<size_t>(count) + 1, 0u);
    e->durations.assign(static_cast<size_t>(count) + 1, 0.0);
    for (int i = 0; i < count; ++i) {
        const platform::ListRow& row = ColorList.Item(i + 1);
        e->colors[static_cast<size_t>(i)] = row.ForeColor;
        e->durations[static_cast<size_t>(i)] =
            platform::parseNumber(ColorList.SubItem(i + 1, 1)).value_or(0.0);
    }
    BankState& s = bank->state();
    if (s.colIdx == -1) s.colIdx = 0;
    if (count >= 2) {
        e->color1 = colourOf(*e, checkedColourIndex(s, *e));
        restartAt(*bank, *e);
    }
}

void MxColorChange::addColor_Click() {
    if (edited() == nullptr) return;
    const std::optional<uint32_t> color = target_.pickRow(0u);
    // The entry may have gone while the mixer was shown.
    if (!color || edited() == nullptr) return;
    addColourRow(ColorList, *color, platform::formatStandard(3.0, desktop().locale()));
    updateColorList();
}

void MxColorChange::removeColor_Click() {
    if (edited() == nullptr) return;
    const std::optional<int> row = ColorList.SelectedIndex();
    if (ColorList.Count() > 0 && row) ColorList.Remove(*row);
    updateColorList();
}

void MxColorChange::moveColor(int by) {
    if (edited() == nullptr) return;
    moveSelectedRow(ColorList, by);
    updateColorList();
}

void MxColorChange::ColorList_AfterCellEdit(const std::string& oldText,
                                            const std::string& newText) {
    if (edited() == nullptr) return;
    settleCellEdit(ColorList, oldText, newText);
    updateColorList();
}

void MxColorChange::spin(bool up) {
    if (edited() == nullptr) return;
    const std::optional<double> n = platform::parseNumber(ColorList.EditText());
    if (!n) return;
    const platform::Locale& locale = desktop().locale();
    if (up) {
        ColorList.setEditText(platform::numberText(*n + 1, locale));
    } else if (*n > 0) {
        ColorList.setEditText(platform::numberText(*n - 1, locale));
    } else {
        ColorList.setEditText(platform::numberText(0.01, locale));
    }
}

void MxColorChange::ColorList_ItemClick(int row, int button, int column) {
    if (button != 1 || row < 1 || row > ColorList.Count()) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    if (column != 0) {
        ColorList.StartSubItemEdit(row, 1, ColorList.SubItem(row, 1));
        return;
    }
    e->color1 = ColorList.Item(row).ForeColor;
    fillColor(*bank);
    if (e->colorCount >= 2) {
        bank->state().colIdx = static_cast<int16_t>(row - 1);
        restartAt(*bank, *e);
    }
}

void MxColorChange::ColorList_DblClick() {
    const std::optional<int> row = ColorList.SelectedIndex();
    if (edited() == nullptr || !row || *row > ColorList.Count()) return;
    const std::optional<uint32_t> color = target_.pickRow(ColorList.Item(*row).ForeColor);
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    // Cancel, or a list or entry that changed while the mixer was shown.
    if (!color || e == nullptr || bank == nullptr || *row > ColorList.Count()) return;
    ColorList.Item(*row).ForeColor = *color;
    e->color1 = *color;
    fillColor(*bank);
    const int i = *row - 1;
    if (i < e->colorCount && static_cast<size_t>(i) < e->colors.size())
        e->colors[static_cast<size_t>(i)] = *color;
    if (e->colorCount >= 2) {
        bank->state().colIdx = static_cast<int16_t>(i);
        restartAt(*bank, *e);
    }
}

void MxColorChange::cbFadeMode_Click() {
    if (filling_) return;  // the box shows the entry's own mode
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    if (beatTicked()) {
        cbFadeMode.setListIndex(0);  // under beat control the mode stays "None"
        return;
    }
    const int16_t mode = static_cast<int16_t>(cbFadeMode.ListIndex());
    BankState& s = bank->state();
    s.pendingFade = mode;
    if (!s.colorFadeRunning) e->fadeMode = mode;
}

void MxColorChange::slFade_Change() {
    if (EffectRecord* e = edited()) e->level = static_cast<int16_t>(slFade.Value());
}

void MxColorChange::slSpeed_Change() {
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    if (!filling_) retime(*bank, *e);
}

void MxColorChange::beatControl_Click() {
    if (filling_) return;  // the box shows the entry's own setting
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    BankState& s = bank->state();
    // Either way no transition is left half-run.
    s.colorFadeRunning = false;
    if (beatTicked()) {
        // Beats step the colours directly: no transition mode.
        cbFadeMode.setListIndex(0);
        s.pendingFade = 0;
        e->fadeMode = 0;
    }
    setBeatControl(*bank, *e, beatTicked(), e->colorCount >= 2);
}

}  // namespace kavrel
