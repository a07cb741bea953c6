#include "preview/previews.h"

#include <string>

#include "preview/dd_error_names.h"
#include "preview/mx_dx_sim_conf.h"
#include "preview/mx_dx_sim_form.h"
#include "preview/mx_ext_sim_form.h"
#include "preview/plain_preview.h"
#include "preview/sim_stream.h"
#include "preview/vovev_form.h"

namespace kavrel {

Previews::Previews(EffectServices& services, PreviewHost host)
    : services_(services),
      host_(host),
      boxes_(services.desktop()),
      directDraw_(
          display_, services.state(), [this](int32_t result) { showDisplayError(result); },
          [this] {
              if (MxDxSimForm* form = peekDxSimForm()) form->Unload();
          }) {
    platform::Desktop& desktop = services.desktop();
    vovev_ = std::make_unique<platform::FormSlot<VoVevForm>>(desktop, "VoVevForm", *this);
    dxForm_ = std::make_unique<platform::FormSlot<MxDxSimForm>>(desktop, "MxDxSimForm", *this);
    conf_ = std::make_unique<platform::FormSlot<MxDxSimConf>>(desktop, "MxDxSimConf", *this);
    net_ = std::make_unique<platform::FormSlot<MxExtSimForm>>(desktop, "MxExtSimForm", *this);
    // A new main window starts with no preview and no link: its socket is new.
    SharedState& s = state();
    s.extSimConnected = false;
    s.simActive = false;
    s.directDrawReady = false;
}

// The windows go before the display code that may point at them.
Previews::~Previews() {
    directDraw_.releaseDirectDraw();
    net_.reset();
    conf_.reset();
    dxForm_.reset();
    vovev_.reset();
}

VoVevForm& Previews::vovevForm() {
    return vovev_->get();
}
VoVevForm* Previews::peekVovevForm() {
    return vovev_ ? vovev_->peek() : nullptr;
}
MxDxSimForm& Previews::dxSimForm() {
    return dxForm_->get();
}
MxDxSimForm* Previews::peekDxSimForm() {
    return dxForm_ ? dxForm_->peek() : nullptr;
}
MxDxSimConf& Previews::dxSimConf() {
    return conf_->get();
}
MxDxSimConf* Previews::peekDxSimConf() {
    return conf_ ? conf_->peek() : nullptr;
}
MxExtSimForm& Previews::extSimForm() {
    return net_->get();
}
MxExtSimForm* Previews::peekExtSimForm() {
    return net_ ? net_->peek() : nullptr;
}

void Previews::drawSimulator() {
    SharedState& s = state();
    if (s.simMode == 1) {
        if (s.directDrawReady) directDraw_.renderFrameDX();
        return;
    }
    VoVevForm& form = vovevForm();
    const CellGeometry g{s.simCellWidth, s.simCellHeight, s.simOffsetX, s.simOffsetY};
    drawChangedCells(form.surface(), g, s.frameM, s.dxSimDrawn, s.gridCols(), s.gridRows());
}

void Previews::sendExtSimulator() {
    SharedState& s = state();
    platform::Winsock& sock = host_.socket;
    const int16_t st = sock.State();
    if (st != platform::Winsock::kConnected && st != platform::Winsock::kConnecting) {
        linkDown();  // closed by the peer or failed
        return;
    }
    // The burst's records go to the socket in one piece; the buffer is kept
    // from tick to tick.
    burst_.clear();
    sendChangedLights(s.frameM, s.extSimSent, s.gridCols(), s.gridRows(),
                      [this](int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
                          appendRecord(burst_, x, y, r, g, b);
                          return true;
                      });
    if (burst_.empty() || sock.SendData(burst_)) return;
    // Not handed over: nothing of this burst counts as sent.
    markAllUnsent(s.extSimSent, s.gridCols(), s.gridRows());
    linkDown();
}

void Previews::watchLink() {
    if (!state().extSimConnected) return;
    const int16_t st = host_.socket.State();
    if (st == platform::Winsock::kClosing || st == platform::Winsock::kError ||
        st == platform::Winsock::kClosed)
        linkDown();
}

void Previews::linkDown() {
    SharedState& s = state();
    s.extSimConnected = false;
    host_.socket.Close();
    host_.networkActive.setForeColor(s.colorRed);
    if (MxExtSimForm* form = peekExtSimForm()) {
        form->connection.setBackColor(s.colorRed);
        form->ConnectB.setCaption("Connect");
    }
}

void Previews::stopTimerForPreview() {
    // A connected link streams on the same timer: it stops only with Network off.
    if (host_.networkActive.Value() != 1) host_.simTimer.setEnabled(false);
}

void Previews::vovev_active_Click() {
    SharedState& s = state();
    if (host_.vovevActive.Value() == 1) {
        MxDxSimConf& conf = dxSimConf();
        centreOver(conf, host_.main);
        conf.Show();
        return;
    }
    s.simActive = false;
    stopTimerForPreview();
    if (MxDxSimConf* conf = peekDxSimConf()) conf->Hide();
    s.directDrawReady = false;
    s.simActive = false;
    MxDxSimForm* dxForm = peekDxSimForm();
    if (directDraw_.holdsObjects() || (dxForm != nullptr && dxForm->Visible()))
        directDraw_.releaseDirectDraw();
    if (VoVevForm* plain = peekVovevForm(); plain != nullptr && plain->Visible()) plain->Hide();
}

void Previews::extmxsim_active_Click() {
    SharedState& s = state();
    if (host_.networkActive.Value() == 1) {
        s.dirtySim = true;
        host_.simTimer.setEnabled(true);
        MxExtSimForm& form = extSimForm();
        centreOver(form, host_.main);
        form.Show();
        return;
    }
    if (MxExtSimForm* form = peekExtSimForm(); form != nullptr && form->Visible()) form->Hide();
    if (s.extSimConnected) linkDown();
}

void Previews::showDisplayError(int32_t result) {
    const std::string number = std::to_string(result);
    boxes_.MsgBox("Fehler " + number + ": " + ddErrorName(result), platform::vbCritical,
                  "Fehler " + number);
}

void Previews::shutdown() {
    SharedState& s = state();
    if (s.extSimConnected) linkDown();
    host_.socket.Close();
    s.extSimConnected = false;
    s.simActive = false;
    directDraw_.releaseDirectDraw();
    for (platform::Window* w : std::initializer_list<platform::Window*>{
             peekVovevForm(), peekDxSimConf(), peekExtSimForm()})
        if (w != nullptr && w->Visible()) w->Hide();
}

}  // namespace kavrel
