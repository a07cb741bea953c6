#pragma once
// The network window "Network connection": host and port of the external
// simulator, an indicator, and the buttons that connect or disconnect and
// close the window.
#include <optional>
#include <string_view>

#include "platform/controls/button.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/text_box.h"
#include "platform/windows/window.h"

namespace kavrel {

class Previews;

// The port as typed: a whole number 1..65535 after trimming blanks, else none.
std::optional<int32_t> parsePort(std::string_view text);

class MxExtSimForm : public platform::Window {
  public:
    MxExtSimForm(platform::Desktop& desktop, Previews& previews);

    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::TextBox, myHostText);
    PLATFORM_CONTROL(platform::Label, Label2);
    PLATFORM_CONTROL(platform::TextBox, myPortText);
    PLATFORM_CONTROL(platform::PictureBox, connection);
    PLATFORM_CONTROL(platform::Button, CloseB);
    PLATFORM_CONTROL(platform::Button, ConnectB);

    void ConnectB_Click();
    void CloseB_Click();

  protected:
    void Form_QueryUnload(int& cancel, int unloadMode) override;

  private:
    void layoutControls();

    Previews& previews_;
};

}  // namespace kavrel
