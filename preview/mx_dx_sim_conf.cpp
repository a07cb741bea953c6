#include "preview/mx_dx_sim_conf.h"

#include <string>

#include "core/color_mixer.h"
#include "platform/windows/key_codes.h"
#include "preview/mx_dx_sim_form.h"
#include "preview/previews.h"
#include "preview/vovev_form.h"

namespace kavrel {

MxDxSimConf::MxDxSimConf(platform::Desktop& desktop, Previews& previews)
    : Window(desktop, "MxDxSimConf"), previews_(previews) {
    layoutControls();
    wireHandlers();
}

void MxDxSimConf::layoutControls() {
    setCaption("VoVevConf");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth((260 + 8) * platform::kTwipsPerPixel);
    setHeight((262 + 30) * platform::kTwipsPerPixel);
    DDMode[0].move(8, 8, 240, 20);
    DDMode[0].setCaption("Standard");
    DDMode[0].setValue(true);
    DDMode[1].move(8, 30, 240, 20);
    DDMode[1].setCaption("DirectX (experimentell)");
    rand.move(8, 58, 240, 20);
    rand.setCaption("visible Frame");
    frColor.move(8, 82, 32, 20);
    frColor.setBackColor(platform::rgb(0, 0, 0));
    Label3.move(48, 84, 200, 18);
    Label3.setCaption("Frame Color");
    full.move(8, 108, 240, 20);
    full.setCaption("FullScreen Mode");
    Label1.move(8, 134, 240, 18);
    Label1.setCaption("Grafikadapter wählen:");
    Combo1.move(8, 152, 244, 21);
    Label2.move(8, 178, 240, 18);
    Label2.setCaption("Auflösung wählen:");
    Combo2.move(8, 196, 244, 21);
    Command1.move(8, 230, 118, 24);
    Command1.setCaption("&Starten");
    Command2.move(134, 230, 118, 24);
    Command2.setCaption("&Abbrechen");
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&frColor, &Combo1, &Combo2, &full, &rand})
        c->setEnabled(false);
}

void MxDxSimConf::wireHandlers() {
    Combo1.onClick = [this] { Combo1_Click(); };
    DDMode[0].onClick = [this] { DDMode_Click(0); };
    DDMode[1].onClick = [this] { DDMode_Click(1); };
    full.onClick = [this] { full_Click(); };
    rand.onClick = [this] { rand_Click(); };
    frColor.onClick = [this] { frColor_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void MxDxSimConf::Form_Load() {
    DirectDrawCode& dd = previews_.directDraw();
    const int16_t count = dd.getAdapterCount();
    for (int32_t i = 1; i <= count; ++i) Combo1.AddItem(dd.openAdapter(i).description);
    if (Combo1.ListCount() > 0) Combo1.setListIndex(0);
}

void MxDxSimConf::Combo1_Click() {
    const AdapterInfo info = previews_.directDraw().openAdapter(Combo1.ListIndex() + 1);
    Combo2.Clear();
    modeNumbers_.clear();
    for (int32_t i = 1; i <= info.modeCount; ++i) {
        const DisplayMode& m = info.modes[static_cast<size_t>(i)];
        if (m.bitsPerPixel < 16 || m.width <= 320) continue;
        Combo2.AddItem(std::to_string(m.width) + "x" + std::to_string(m.height) + "x" +
                       std::to_string(m.bitsPerPixel));
        modeNumbers_.push_back(i);
    }
    if (Combo2.ListCount() == 0) return;
    Combo2.setListIndex(0);
    for (int i = 0; i < Combo2.ListCount(); ++i)
        if (Combo2.List(i) == "800x600x32") Combo2.setListIndex(i);
}

void MxDxSimConf::DDMode_Click(int index) {
    SharedState& s = previews_.state();
    if (index == 1) {
        s.simMode = 1;
        const bool lists = full.Value() == 1;
        Combo1.setEnabled(lists);
        Combo2.setEnabled(lists);
        rand.setEnabled(true);
        frColor.setEnabled(true);
        full.setEnabled(true);
    } else {
        s.simMode = 0;
        for (platform::Control* c :
             std::initializer_list<platform::Control*>{&Combo1, &Combo2, &rand, &frColor, &full})
            c->setEnabled(false);
    }
}

void MxDxSimConf::full_Click() {
    const bool on = full.Value() == 1;
    Combo1.setEnabled(on);
    Combo2.setEnabled(on);
    previews_.state().simFullView = on;
}

void MxDxSimConf::rand_Click() {
    previews_.state().simShowFrame = rand.Value() == 1;
}

void MxDxSimConf::frColor_Click() {
    frColor.setBackColor(pickColor(previews_.services(), frColor.BackColor()));
}

void MxDxSimConf::Command1_Click() {
    SharedState& s = previews_.state();
    if (s.simMode != 1) {
        VoVevForm& form = previews_.vovevForm();
        form.Show();
        // Every start draws the whole grid with the current geometry.
        form.Form_Resize();
        previews_.drawSimulator();
    } else {
        // Full screen comes from this dialog's own box, not from the plain
        // window's view mode.
        const bool fullScreen = full.Value() == 1;
        const int modeItem = Combo2.ListIndex();
        const bool haveMode = modeItem >= 0 && modeItem < static_cast<int>(modeNumbers_.size());
        if (fullScreen && (Combo1.ListIndex() < 0 || !haveMode)) return;  // nothing to show on
        s.simFrameColor = frColor.BackColor();
        MxDxSimForm& form = previews_.dxSimForm();
        form.Show();
        DirectDrawCode& dd = previews_.directDraw();
        const AdapterInfo info = dd.openAdapter(Combo1.ListIndex() + 1);
        DisplayMode mode;
        if (haveMode) {
            const auto number = static_cast<size_t>(modeNumbers_[static_cast<size_t>(modeItem)]);
            if (number < info.modes.size()) mode = info.modes[number];
        }
        dd.startDirectDraw(form, mode, info.guid, 2, fullScreen);
    }
    s.simActive = true;
    s.dirtySim = true;
    previews_.host().simTimer.setEnabled(true);
    Hide();
}

void MxDxSimConf::Command2_Click() {
    SharedState& s = previews_.state();
    s.simActive = false;
    s.dirtySim = false;
    previews_.stopTimerForPreview();
    MxDxSimForm* dxForm = previews_.peekDxSimForm();
    if (previews_.directDraw().holdsObjects() || (dxForm != nullptr && dxForm->Visible()))
        previews_.directDraw().releaseDirectDraw();
    if (VoVevForm* plain = previews_.peekVovevForm(); plain != nullptr && plain->Visible())
        plain->Hide();
    Hide();
    previews_.host().vovevActive.setValue(0);
}

void MxDxSimConf::Form_KeyDown(int& keyCode, int shift) {
    // The buttons' accelerators: Alt+S starts, Alt+A cancels.
    if ((shift & platform::kAltMask) == 0) return;
    if (keyCode == 'S') {
        Command1_Click();
    } else if (keyCode == 'A') {
        Command2_Click();
    }
}

void MxDxSimConf::Form_KeyPress(int& keyAscii) {
    // Enter is the default button, Esc the cancel button.
    if (keyAscii == 13) {
        Command1_Click();
    } else if (keyAscii == 27) {
        Command2_Click();
    }
}

}  // namespace kavrel
