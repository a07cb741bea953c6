#include "platform/controls/message_box.h"

namespace platform {

MessageBoxWindow::MessageBoxWindow(Desktop& desktop)
    : Window(desktop, "MsgBox"),
      Text(add<Label>("Text")),
      OK(add<Button>("OK")),
      Cancel(add<Button>("Cancel")),
      Yes(add<Button>("Yes")),
      No(add<Button>("No")) {
    OK.setCaption("OK");
    Cancel.setCaption("Cancel");
    Yes.setCaption("Yes");
    No.setCaption("No");
    OK.onClick = [this] { answer(vbOK); };
    Cancel.onClick = [this] { answer(vbCancel); };
    Yes.onClick = [this] { answer(vbYes); };
    No.onClick = [this] { answer(vbNo); };
}

void MessageBoxWindow::prepare(const std::string& text, int style, const std::string& title) {
    style_ = style;
    Text.setCaption(text);
    setCaption(title);
    const int buttons = style & 7;
    OK.setVisible(buttons == vbOKOnly || buttons == vbOKCancel);
    Cancel.setVisible(buttons == vbOKCancel);
    Yes.setVisible(buttons == vbYesNo);
    No.setVisible(buttons == vbYesNo);
    result_ = buttons == vbYesNo ? vbYes : vbOK;
}

std::optional<std::string> MessageBoxWindow::messageText() const {
    return Text.Caption();
}

void MessageBoxWindow::acknowledge() {
    answer((style_ & 7) == vbYesNo ? vbYes : vbOK);
}

void MessageBoxWindow::answer(int result) {
    result_ = result;
    Hide();
}

int MessageBoxes::MsgBox(const std::string& text, int style, const std::string& title) {
    MessageBoxWindow& box = slot_();
    if (box.isModal() && box.Visible()) {
        box.Text.setCaption(text);
        box.Show(true);
        return box.result();
    }
    box.prepare(text, style, title);
    box.Show(true);
    return box.result();
}

}  // namespace platform
