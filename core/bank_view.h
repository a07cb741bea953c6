#pragma once
// One bank as the main window drives it: its state and the controls and
// timers that belong to it. Routines that exist for both banks take a Bank.
#include <cstdint>

#include "core/shared_state.h"
#include "platform/combo_box.h"
#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/timer.h"

namespace kavrel {

class Kavrel;

struct Bank {
    Kavrel& kavrel;
    BankState& state;
    bool isB;
    platform::ListView& list;
    platform::ComboBox& typeBox;
    platform::Timer& timer1;  // steps the running effect
    platform::Timer& timer2;  // image lists, transitions, beat lock-out
    platform::PictureBox& mini;
    platform::PictureBox& image;
    platform::PictureBox& pane;
    // Set while code shows the running entry's type in the type box, so that
    // the box's own handling does not start the entry a second time.
    bool showingType = false;

    void stopTimers() {
        timer1.setEnabled(false);
        timer2.setEnabled(false);
    }

    // Shows a type in the type box; an unknown code leaves the box unchosen.
    void showType(int16_t type) {
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{showingType};
        showingType = true;
        typeBox.setListIndex(type);
    }
};

}  // namespace kavrel
