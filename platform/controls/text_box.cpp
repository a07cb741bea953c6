#include "platform/controls/text_box.h"

#include "platform/text/cp1252.h"

namespace platform {

bool applyTypedKey(std::string& text, int keyAscii) {
    if (keyAscii == 8) {
        if (text.empty()) return false;
        // Drop the whole last UTF-8 character: its continuation bytes and lead.
        size_t n = text.size() - 1;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
        text.erase(n);
        return true;
    }
    if (keyAscii < 32 || keyAscii == 127 || keyAscii > 255) return false;
    // A key's code is a byte of the system's code page: 128 types the euro sign.
    text += cp1252ToUtf8(std::string(1, static_cast<char>(keyAscii)));
    return true;
}

TextBox::TextBox(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

void TextBox::setText(std::string t) {
    if (t == text_) return;
    text_ = std::move(t);
    raise(onChange);
}

bool TextBox::userSet(const std::string& value) {
    if (!acceptsInput() || locked_) return false;
    setText(keepCp1252(value));
    return true;
}

bool TextBox::userKey(int keyAscii) {
    if (!acceptsInput()) return false;
    if (!keyDown(keyAscii)) return true;
    if (onKeyPress) onKeyPress(keyAscii);
    if (locked_) return true;
    // Typing edits a copy so that the Change handler sees the new text.
    std::string typed = text_;
    if (applyTypedKey(typed, keyAscii)) setText(std::move(typed));
    return true;
}

std::optional<std::string> TextBox::answerProperty(PropertyQuery& q) const {
    if (q.is("Text")) return text_;
    if (q.is("Locked")) return propertyBool(locked_);
    return Control::answerProperty(q);
}

}  // namespace platform
