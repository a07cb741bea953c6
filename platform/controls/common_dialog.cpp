#include "platform/controls/common_dialog.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "platform/windows/desktop.h"
#include "platform/runtime/event_loop.h"

namespace platform {

CommonDialog::CommonDialog(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {
    // The control itself is never seen; only its dialogs are.
    setVisible(false);
}

namespace {
bool isAbsolutePath(const std::string& p) {
    if (!p.empty() && (p[0] == '/' || p[0] == '\\')) return true;
    return p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

// A name typed into the dialog is taken in the folder the dialog shows.
std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty() || isAbsolutePath(name)) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    const bool windowsStyle =
        folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (windowsStyle ? '\\' : '/') + name;
}
}  // namespace

DialogAnswer CommonDialog::awaitAnswer(const char* which) {
    lastShown_ = which;
    ++showCount_;
    // Modal like any modal window: the user reaches no window while it waits,
    // timers go on, and user actions run until one of them answers it.
    Desktop& d = desktop();
    std::optional<DialogAnswer> answer;
    d.pushDialog(*this);
    struct Pop {
        Desktop& d;
        const CommonDialog& dialog;
        ~Pop() { d.popDialog(dialog); }
    } pop{d, *this};
    d.loop().runModal("CommonDialog " + path(), [&] {
        if (!answer) answer = d.takeDialogAnswer();
        return !answer;
    });
    return std::move(*answer);
}

bool CommonDialog::takeFile(const DialogAnswer& a) {
    if (a.kind != DialogAnswer::Kind::File) return false;
    fileName_ = inFolder(initDir_, a.path);
    const size_t sep = fileName_.find_last_of("/\\");
    fileTitle_ = sep == std::string::npos ? fileName_ : fileName_.substr(sep + 1);
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

std::optional<std::string> CommonDialog::answerProperty(PropertyQuery& q) const {
    if (q.is("DialogTitle")) return dialogTitle_;
    if (q.is("Filter")) return filter_;
    if (q.is("FilterIndex")) return propertyNumber(static_cast<int64_t>(filterIndex_));
    if (q.is("InitDir")) return initDir_;
    if (q.is("CancelError")) return propertyBool(cancelError_);
    if (q.is("Flags")) return propertyNumber(flags_);
    if (q.is("FileName")) return fileName_;
    if (q.is("FileTitle")) return fileTitle_;
    if (q.is("FontName")) return fontName_;
    if (q.is("FontSize")) return propertyNumber(fontSize_);
    if (q.is("FontBold")) return propertyBool(fontBold_);
    if (q.is("FontItalic")) return propertyBool(fontItalic_);
    if (q.is("FontUnderline")) return propertyBool(fontUnderline_);
    if (q.is("FontStrikethru")) return propertyBool(fontStrikethru_);
    if (q.is("LastShown")) return lastShown_;
    if (q.is("ShowCount")) return propertyNumber(showCount_);
    return Control::answerProperty(q);
}

}  // namespace platform
