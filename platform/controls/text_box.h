#pragma once
// A single text box: its text, Change on every change, typing key by key.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

// Applies one typed key to a text: 8 removes the last character, codes from 32
// (but 127) up to 255 append the Windows-1252 character of that byte as UTF-8,
// others do nothing. True when the text changed.
bool applyTypedKey(std::string& text, int keyAscii);

class TextBox : public Control {
  public:
    TextBox(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "TextBox"; }
    std::string_view defaultProperty() const override { return "Text"; }

    const std::string& Text() const { return text_; }
    // Raises Change when the text differs.
    void setText(std::string t);
    // A locked box still reports keys but takes no typing.
    bool Locked() const { return locked_; }
    void setLocked(bool on) { locked_ = on; }

    std::function<void()> onChange;

    // The user replaces the whole text (typed or pasted): one Change when it
    // differs. Characters Windows-1252 cannot hold become '?' at once, as a
    // project file would keep them.
    bool userSet(const std::string& value) override;
    // KeyDown, KeyPress (its handler may swallow the key by setting it to 0),
    // then the key is typed; every change raises Change.
    bool userKey(int keyAscii) override;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::string text_;
    bool locked_ = false;
};

}  // namespace platform
