#include "preview/vovev_form.h"

#include <array>

#include "platform/windows/window_style.h"
#include "preview/mx_dx_sim_conf.h"
#include "preview/plain_preview.h"
#include "preview/previews.h"

namespace kavrel {

VoVevForm::VoVevForm(platform::Desktop& desktop, Previews& previews)
    : Window(desktop, "VoVevForm"), previews_(previews) {
    setCaption("VoVev - toggle ViewMode with <space>, close with <ESC>");
    setBackColor(platform::rgb(0, 0, 0));
    move(600, 600, 7800, 7800);
}

void VoVevForm::Form_Resize() {
    SharedState& s = previews_.state();
    // The effects pause while the whole grid is drawn; exactly the timers
    // that ran start again.
    std::array<bool, 4> paused{};
    auto& timers = previews_.host().effectTimers;
    for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i]->Enabled()) {
            paused[i] = true;
            timers[i]->setEnabled(false);
        }
    }
    setScaleMode(platform::ScaleMode::Pixels);
    const CellGeometry g = plainGeometry(ScaleWidth(), ScaleHeight(), s.gridCols(), s.gridRows());
    s.simCellWidth = g.cellWidth;
    s.simCellHeight = g.cellHeight;
    s.simOffsetX = g.offsetX;
    s.simOffsetY = g.offsetY;
    drawAllCells(surface(), g, s.frameM, s.gridCols(), s.gridRows());
    for (size_t i = 0; i < timers.size(); ++i)
        if (paused[i]) timers[i]->setEnabled(true);
}

void VoVevForm::Form_KeyPress(int& keyAscii) {
    SharedState& s = previews_.state();
    if (keyAscii == 27) {
        s.simActive = false;
        Hide();
        previews_.dxSimConf().Show();
    } else if (keyAscii == 32) {
        if (s.simFullView) {
            ToggleCaption(true);
            setWindowState(0);
            s.simFullView = false;
        } else {
            ToggleCaption(false);
            setWindowState(2);
            s.simFullView = true;
        }
        Form_Resize();
    }
}

bool VoVevForm::ToggleCaption(bool value) {
    int32_t style = platform::GetWindowLongA(this, platform::GWL_STYLE);
    const auto caption = static_cast<int32_t>(platform::WS_CAPTION);
    style = value ? (style | caption) : (style & ~caption);
    bool result = platform::SetWindowLongA(this, platform::GWL_STYLE, style) != 0 &&
                  platform::GetWindowLongA(this, platform::GWL_STYLE) == style;
    platform::SetWindowPos(this, nullptr, 0, 0, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOMOVE | platform::SWP_NOZORDER |
                               platform::SWP_FRAMECHANGED);
    return result;
}

}  // namespace kavrel
