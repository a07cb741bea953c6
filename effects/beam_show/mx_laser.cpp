#include "effects/beam_show/mx_laser.h"

#include <initializer_list>

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/effect_services.h"
#include "effects/beam_show/beam_render.h"
#include "effects/beam_show/beam_show_effect.h"
#include "effects/common/beat_control.h"
#include "effects/common/editor_window.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

MxLaser::MxLaser(platform::Desktop& desktop, EffectServices& services)
    : Window(desktop, "MxLaser"), target_(services, EffectType::BeamShow) {
    layoutControls();
    for (int i = 0; i < kBeams; ++i) {
        const auto at = static_cast<size_t>(i);
        chLaser[at].onClick = [this, i] { chLaser_Click(i); };
        LaserColor[at].onClick = [this, i] { LaserColor_Click(i); };
        LaserType[at].onClick = [this, i] { LaserType_Click(i); };
    }
    Beat.onClick = [this] { Beat_Click(); };
    Back.onClick = [this] { Back_Click(); };
    slBlank.onChange = [this] { slBlank_Change(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    OK.onClick = [this] { OK_Click(); };
}

void MxLaser::layoutControls() {
    setCaption("BeamShow");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(280 * platform::kTwipsPerPixel);
    setHeight(330 * platform::kTwipsPerPixel);
    lblName.setCaption("Name : ");
    lblName.move(8, 8, 90, 20);
    myName.move(100, 8, 160, 20);
    lblColor.setCaption("Color");
    lblColor.move(100, 36, 50, 20);
    lblType.setCaption("Type");
    lblType.move(160, 36, 100, 20);
    for (size_t i = 0; i < kBeams; ++i) {
        const float top = 60 + 28 * static_cast<float>(i);
        chLaser[i].setCaption("Laser 1");
        chLaser[i].move(8, top, 88, 20);
        LaserColor[i].move(100, top, 50, 20);
        LaserType[i].move(160, top, 100, 20);
        for (const char* item : {"line", "point", "horizontal", "vertical"})
            LaserType[i].AddItem(item);
    }
    Beat.setCaption("Beat Control : ");
    Beat.move(8, 176, 120, 20);
    lblBack.setCaption("Background : ");
    lblBack.move(140, 176, 80, 20);
    Back.move(220, 176, 40, 20);
    lblBlank.setCaption("Blanking : ");
    lblBlank.move(8, 204, 90, 20);
    slBlank.move(100, 204, 160, 20);
    slBlank.setEnabled(false);
    lblSpeed.setCaption("Speed : ");
    lblSpeed.move(8, 232, 90, 20);
    slSpeed.move(100, 232, 160, 20);
    OK.setCaption("OK");
    OK.move(8, 264, 252, 28);
}

EffectRecord* MxLaser::edited() {
    EffectRecord* e = target_.entry();
    if (e == nullptr) {
        Hide();
        return nullptr;
    }
    growBeams(*e);
    return e;
}

void MxLaser::fill(BankContext& bank) {
    target_.bind(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    // Setting the controls stores nothing back into the entry.
    filling_ = true;
    for (size_t i = 0; i < kBeams; ++i) {
        LaserColor[i].setBackColor(i < e->colors.size() ? e->colors[i] : 0u);
        const int32_t type = i < e->colorValues.size() ? e->colorValues[i] : -1;
        if (type == -1) {
            chLaser[i].setValue(0);
            LaserType[i].setListIndex(0);
        } else {
            LaserType[i].setListIndex(type);
            chLaser[i].setValue(1);
        }
    }
    myName.setText(e->name);
    slSpeed.setValue(e->speed);
    slBlank.setValue(e->level);
    Beat.setValue(e->beat == 1 ? 1 : 0);
    Back.setBackColor(e->color1);
    filling_ = false;
    showEditor(target_.services(), *this);
}

void MxLaser::chLaser_Click(int index) {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    const auto i = static_cast<size_t>(index);
    // A box with no type chosen leaves the beam off (-1).
    e->colorValues[i] = chLaser[i].Value() == 1 ? LaserType[i].ListIndex() : -1;
    drawBeamShow(*bank);
}

void MxLaser::LaserType_Click(int index) {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    const auto i = static_cast<size_t>(index);
    if (chLaser[i].Value() != 1) {
        e->colorValues[i] = -1;
        drawBeamShow(*bank);
        return;
    }
    const int type = LaserType[i].ListIndex();
    e->colorValues[i] = type;
    if (type != 2 && type != 3) return;  // shows at the next step
    platform::Random& random = target_.services().desktop().random();
    const int n = type == 2 ? bank->rows() : bank->cols();
    bank->state().laserPos[i] =
        static_cast<int16_t>(platform::intFloor(random.next() * static_cast<double>(n)));
    bank->state().laserDir[i] = 1;
    if (type == 3) drawBeamShow(*bank);
}

void MxLaser::LaserColor_Click(int index) {
    const auto i = static_cast<size_t>(index);
    if (edited() == nullptr) return;
    const uint32_t color = target_.pickEdited(LaserColor[i].BackColor());
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;  // gone while the mixer was shown
    LaserColor[i].setBackColor(color);
    e->colors[i] = color;
    drawBeamShow(*bank);
}

void MxLaser::Back_Click() {
    if (edited() == nullptr) return;
    const uint32_t color = target_.pickEdited(Back.BackColor());
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    Back.setBackColor(color);
    e->color1 = color;
    drawBeamShow(*bank);
}

void MxLaser::slBlank_Change() {
    if (filling_) return;
    if (EffectRecord* e = edited()) e->level = static_cast<int16_t>(slBlank.Value());
}

void MxLaser::slSpeed_Change() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    bank->stepTimer().setInterval(beamInterval(e->speed));
}

void MxLaser::Beat_Click() {
    if (filling_) return;
    EffectRecord* e = edited();
    BankContext* bank = target_.bank();
    if (e == nullptr || bank == nullptr) return;
    setBeatControl(*bank, *e, Beat.Value() == 1, true);
}

void MxLaser::OK_Click() {
    target_.confirm(myName.Text(), true);
    Hide();
}

}  // namespace kavrel
