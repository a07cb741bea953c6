#include "preview/mx_dx_sim_form.h"

#include "preview/mx_dx_sim_conf.h"
#include "preview/previews.h"

namespace kavrel {

MxDxSimForm::MxDxSimForm(platform::Desktop& desktop, Previews& previews)
    : Window(desktop, "MxDxSimForm"), previews_(previews) {
    setCaption("VoVev - close with <ESC>");
    setBackColor(platform::rgb(0, 0, 0));
    move(600, 600, 9600, 7800);
}

void MxDxSimForm::Form_Activate() {
    // Every step checked: a failed fill must not be followed by drawing.
    if (previews_.state().directDrawReady) previews_.directDraw().renderFrameDX();
}

void MxDxSimForm::Form_Resize() {
    if (previews_.state().directDrawReady) previews_.directDraw().renderFrameDX();
}

void MxDxSimForm::closeToDialog() {
    SharedState& s = previews_.state();
    s.directDrawReady = false;
    s.simActive = false;
    previews_.directDraw().releaseDirectDraw();
    previews_.dxSimConf().Show();
}

void MxDxSimForm::Form_KeyPress(int& keyAscii) {
    SharedState& s = previews_.state();
    if (keyAscii == 27) {
        closeToDialog();
    } else if (keyAscii == 'f') {
        MxDxSimConf& conf = previews_.dxSimConf();
        if (s.simShowFrame) {
            conf.rand.setValue(0);
            s.simShowFrame = false;
        } else {
            conf.rand.setValue(1);
            s.simShowFrame = true;
        }
        previews_.directDraw().renderFrameDX();
    }
}

void MxDxSimForm::Form_QueryUnload(int& cancel, int unloadMode) {
    // The close box leaves the preview as Esc does; the unload under way is
    // the one the release asks for.
    (void)cancel;
    if (unloadMode == platform::kUnloadFromCloseBox) closeToDialog();
}

}  // namespace kavrel
