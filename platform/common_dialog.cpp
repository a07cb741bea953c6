#include "platform/common_dialog.h"

#include <cmath>

#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace platform {

CommonDialog::CommonDialog(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {
    // The control itself is never seen; only its dialogs are.
    setVisible(false);
}

DialogAnswer CommonDialog::awaitAnswer(const char* which) {
    lastShown_ = which;
    ++showCount_;
    // Modal: user actions run until one of them answers the dialog.
    while (true) {
        if (auto a = desktop().takeDialogAnswer()) return std::move(*a);
        if (!desktop().runNextAction()) throw ModalStall("CommonDialog " + path());
    }
}

bool CommonDialog::takeFile(const DialogAnswer& a) {
    if (a.kind != DialogAnswer::Kind::File) return false;
    fileName_ = a.path;
    const size_t sep = a.path.find_last_of("/\\");
    fileTitle_ = sep == std::string::npos ? a.path : a.path.substr(sep + 1);
    return true;
}

bool CommonDialog::ShowOpen() {
    return takeFile(awaitAnswer("Open"));
}

bool CommonDialog::ShowSave() {
    return takeFile(awaitAnswer("Save"));
}

bool CommonDialog::ShowFont() {
    const DialogAnswer a = awaitAnswer("Font");
    if (a.kind != DialogAnswer::Kind::Font) return false;
    fontName_ = a.fontName;
    // A size no font can have keeps the previous one.
    if (std::isfinite(a.fontSize) && a.fontSize > 0) fontSize_ = a.fontSize;
    fontBold_ = a.bold;
    fontItalic_ = a.italic;
    fontUnderline_ = a.underline;
    fontStrikethru_ = a.strikeout;
    return true;
}

std::optional<std::string> CommonDialog::property(std::string_view name) const {
    if (name == "DialogTitle") return dialogTitle_;
    if (name == "Filter") return filter_;
    if (name == "FilterIndex") return propertyNumber(static_cast<int64_t>(filterIndex_));
    if (name == "InitDir") return initDir_;
    if (name == "CancelError") return propertyBool(cancelError_);
    if (name == "Flags") return propertyNumber(flags_);
    if (name == "FileName") return fileName_;
    if (name == "FileTitle") return fileTitle_;
    if (name == "FontName") return fontName_;
    if (name == "FontSize") return propertyNumber(fontSize_);
    if (name == "FontBold") return propertyBool(fontBold_);
    if (name == "FontItalic") return propertyBool(fontItalic_);
    if (name == "FontUnderline") return propertyBool(fontUnderline_);
    if (name == "FontStrikethru") return propertyBool(fontStrikethru_);
    if (name == "LastShown") return lastShown_;
    if (name == "ShowCount") return propertyNumber(showCount_);
    return Control::property(name);
}

}  // namespace platform
