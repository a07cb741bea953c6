#pragma once
// The previews of the output frame and the external-simulator link of one
// main window: the plain preview window, the surface preview window and its
// display code, the set-up dialog, the network window, and the feed that the
// main window's simulator timer runs.
#include <cstdint>
#include <memory>
#include <string>

#include "core/effect_services.h"
#include "platform/windows/desktop.h"
#include "platform/windows/direct_draw.h"
#include "platform/controls/message_box.h"
#include "preview/direct_draw_code.h"
#include "preview/preview_host.h"

namespace kavrel {

class VoVevForm;
class MxDxSimForm;
class MxDxSimConf;
class MxExtSimForm;

class Previews {
  public:
    Previews(EffectServices& services, PreviewHost host);
    ~Previews();
    Previews(const Previews&) = delete;
    Previews& operator=(const Previews&) = delete;

    EffectServices& services() { return services_; }
    SharedState& state() { return services_.state(); }
    PreviewHost& host() { return host_; }
    platform::dd::DisplaySystem& display() { return display_; }
    DirectDrawCode& directDraw() { return directDraw_; }
    platform::MessageBoxes& boxes() { return boxes_; }

    // The windows, made and loaded on first use; peek never makes one.
    VoVevForm& vovevForm();
    VoVevForm* peekVovevForm();
    MxDxSimForm& dxSimForm();
    MxDxSimForm* peekDxSimForm();
    MxDxSimConf& dxSimConf();
    MxDxSimConf* peekDxSimConf();
    MxExtSimForm& extSimForm();
    MxExtSimForm* peekExtSimForm();

    // Draws the changed lights in the plain preview, or the whole frame
    // through the surface preview once it is set up.
    void drawSimulator();
    // Sends the changed lights to the simulator; a failed send ends the link.
    void sendExtSimulator();
    // The main window's two switches.
    void vovev_active_Click();
    void extmxsim_active_Click();

    // Ends a connected link whose socket was closed by the peer or failed.
    void watchLink();
    // The link as refused or ended: flag cleared, socket closed, red, "Connect".
    void linkDown();
    // Stops the simulator timer for a preview switched off, unless the
    // network link still needs it.
    void stopTimerForPreview();
    // The main window goes: the previews close and the link ends.
    void shutdown();

  private:
    void showDisplayError(int32_t result);

    EffectServices& services_;
    PreviewHost host_;
    platform::dd::DisplaySystem display_;
    platform::MessageBoxes boxes_;
    DirectDrawCode directDraw_;
    std::unique_ptr<platform::FormSlot<VoVevForm>> vovev_;
    std::unique_ptr<platform::FormSlot<MxDxSimForm>> dxForm_;
    std::unique_ptr<platform::FormSlot<MxDxSimConf>> conf_;
    std::unique_ptr<platform::FormSlot<MxExtSimForm>> net_;
    std::string burst_;
};

}  // namespace kavrel
