#pragma once
// The small message window: a text and an OK button that hides it.
#include <optional>
#include <string>

#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/windows/window.h"

namespace kavrel {

class MsgForm : public platform::Window {
  public:
    explicit MsgForm(platform::Desktop& desktop);

    PLATFORM_CONTROL(platform::Label, msgText);
    PLATFORM_CONTROL(platform::Button, OK);

    void OK_Click() { Hide(); }

    // The driver prints and acknowledges what the window says.
    std::optional<std::string> messageText() const override { return msgText.Caption(); }
};

}  // namespace kavrel
