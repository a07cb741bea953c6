#pragma once
// The hidden form that carries the project dialogs' common-dialog control
// `CDM`; saving and loading share it, so it keeps the last chosen file.
#include "platform/controls/common_dialog.h"
#include "platform/controls/control_declare.h"
#include "platform/windows/window.h"

namespace kavrel {

class MxCommonDialog : public platform::Window {
  public:
    explicit MxCommonDialog(platform::Desktop& desktop);

    PLATFORM_CONTROL(platform::CommonDialog, CDM);

    // Places the form centred over `over` (twips, single precision).
    void centreOver(const platform::Window& over);
};

}  // namespace kavrel
