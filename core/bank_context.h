#pragma once
// One bank as its effects and lists see it: the bank's state and running
// entry, the grid, its list and type box, its two timers, its sampling,
// picture and preview boxes, and the plug-in's services. The main window
// makes one per bank; routines that exist for both banks take a context.
#include <cstdint>
#include <string>

#include "core/bank_id.h"
#include "core/effect_services.h"
#include "core/shared_state.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/picture_box.h"
#include "platform/runtime/timer.h"

namespace kavrel {

// The main window's controls that belong to one bank.
struct BankControls {
    platform::ListView& list;
    platform::ComboBox& typeBox;
    platform::Timer& stepTimer;    // steps the running effect
    platform::Timer& secondTimer;  // image lists, transitions, beat lock-out
    platform::PictureBox& mini;    // sampling box, one pixel per light
    platform::PictureBox& image;   // the loaded picture
    platform::PictureBox& pane;    // the bank's preview pane
};

class BankContext {
  public:
    BankContext(BankId id, EffectServices& services, const BankControls& controls)
        : id_(id), services_(services), controls_(controls) {}

    BankId id() const { return id_; }
    bool isB() const { return id_ == BankId::B; }
    EffectServices& services() { return services_; }
    SharedState& shared() { return services_.state(); }
    BankState& state() { return services_.state().bank(isB()); }
    // The running entry, or null while the bank's current index names none.
    EffectRecord* entry() { return state().currentEffect(); }
    int cols() const { return services_.state().gridCols(); }
    int rows() const { return services_.state().gridRows(); }

    platform::ListView& list() { return controls_.list; }
    platform::ComboBox& typeBox() { return controls_.typeBox; }
    platform::Timer& stepTimer() { return controls_.stepTimer; }
    platform::Timer& secondTimer() { return controls_.secondTimer; }
    platform::PictureBox& mini() { return controls_.mini; }
    platform::PictureBox& image() { return controls_.image; }
    platform::PictureBox& pane() { return controls_.pane; }

    void stopTimers() {
        controls_.stepTimer.setEnabled(false);
        controls_.secondTimer.setEnabled(false);
    }
    // The bank frame changed: mark it and mix the whole output.
    void showFrame() {
        state().dirty = true;
        services_.mixMatrix(services_.state().mixPos);
    }
    // One light of the bank frame changed: mark it and mix that light.
    void showLight(int x, int y) {
        state().dirty = true;
        services_.mixMatrixStep(services_.state().mixPos, x, y);
    }
    void showMessage(const std::string& text) { services_.showMessage(text); }

    // Shows a type in the type box; an unknown code leaves the box unchosen.
    // While it runs, the box's own handling does not start the entry again.
    void showType(int16_t type) {
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{showingType_};
        showingType_ = true;
        controls_.typeBox.setListIndex(type);
    }
    bool showingType() const { return showingType_; }

  private:
    BankId id_;
    EffectServices& services_;
    BankControls controls_;
    bool showingType_ = false;
};

}  // namespace kavrel
