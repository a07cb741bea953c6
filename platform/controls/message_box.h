#pragma once
// The platform's modal message box: a text, a title and OK, OK/Cancel or
// Yes/No buttons. It answers with the button pressed.
#include <optional>
#include <string>

#include "platform/controls/button.h"
#include "platform/windows/desktop.h"
#include "platform/controls/label.h"
#include "platform/windows/window.h"

namespace platform {

// Styles (add one icon value to one button value) and answers.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

class MessageBoxWindow : public Window {
  public:
    explicit MessageBoxWindow(Desktop& desktop);

    // Prepares the box for one message.
    void prepare(const std::string& text, int style, const std::string& title);
    int result() const { return result_; }
    int style() const { return style_; }

    std::optional<std::string> messageText() const override;
    // Acknowledging presses the default (first) button.
    void acknowledge() override;

    Label& Text;
    Button& OK;
    Button& Cancel;
    Button& Yes;
    Button& No;

  private:
    void answer(int result);
    int result_ = vbOK;
    int style_ = vbOKOnly;
};

class MessageBoxes {
  public:
    explicit MessageBoxes(Desktop& desktop) : slot_(desktop, "MsgBox") {}
    // Shows the box modally and returns the button pressed (vbOK, vbCancel,
    // vbYes, vbNo). A box shown while another waits replaces its text and
    // returns that box's current answer at once.
    int MsgBox(const std::string& text, int style = vbOKOnly, const std::string& title = "");
    MessageBoxWindow* peek() const { return slot_.peek(); }

  private:
    FormSlot<MessageBoxWindow> slot_;
};

}  // namespace platform
