#pragma once
// The open, save and font dialogs of a common-dialog control. Showing one waits
// modally for the user's answer (queued on the desktop) and keeps the result
// in the control's properties for the next use.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"

namespace platform {

struct DialogAnswer;

class CommonDialog : public Control {
  public:
    CommonDialog(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "CommonDialog"; }

    const std::string& DialogTitle() const { return dialogTitle_; }
    void setDialogTitle(std::string t) { dialogTitle_ = std::move(t); }
    const std::string& Filter() const { return filter_; }
    void setFilter(std::string f) { filter_ = std::move(f); }
    int FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int i) { filterIndex_ = i; }
    // The folder the file dialogs show: a relative name the user answers with
    // is taken in it.
    const std::string& InitDir() const { return initDir_; }
    void setInitDir(std::string d) { initDir_ = std::move(d); }
    // Callers take their error path on a cancel when this is set; Show* returns
    // false on a cancel either way.
    bool CancelError() const { return cancelError_; }
    void setCancelError(bool on) { cancelError_ = on; }
    // Kept for the caller to read back; no flag changes what the dialogs answer.
    int32_t Flags() const { return flags_; }
    void setFlags(int32_t f) { flags_ = f; }

    // Kept between uses; FileTitle is the name part of the last chosen file.
    const std::string& FileName() const { return fileName_; }
    void setFileName(std::string f) { fileName_ = std::move(f); }
    const std::string& FileTitle() const { return fileTitle_; }

    const std::string& FontName() const { return fontName_; }
    void setFontName(std::string n) { fontName_ = std::move(n); }
    double FontSize() const { return fontSize_; }
    void setFontSize(double s) { fontSize_ = s; }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool on) { fontBold_ = on; }
    bool FontItalic() const { return fontItalic_; }
    void setFontItalic(bool on) { fontItalic_ = on; }
    bool FontUnderline() const { return fontUnderline_; }
    void setFontUnderline(bool on) { fontUnderline_ = on; }
    bool FontStrikethru() const { return fontStrikethru_; }
    void setFontStrikethru(bool on) { fontStrikethru_ = on; }

    // True when the user chose a file (or font); false on Cancel, and on an
    // answer of the wrong kind. While a dialog waits no window takes user
    // input. Throws ModalStall when no answer can come.
    bool ShowOpen();
    bool ShowSave();
    bool ShowFont();

    // "Open", "Save", "Font", or "" before the first show.
    const std::string& lastShown() const { return lastShown_; }
    int64_t showCount() const { return showCount_; }

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    DialogAnswer awaitAnswer(const char* which);
    bool takeFile(const DialogAnswer& a);

    std::string dialogTitle_;
    std::string filter_;
    int filterIndex_ = 0;
    std::string initDir_;
    bool cancelError_ = false;
    int32_t flags_ = 0;
    std::string fileName_;
    std::string fileTitle_;
    std::string fontName_;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontUnderline_ = false;
    bool fontStrikethru_ = false;
    std::string lastShown_;
    int64_t showCount_ = 0;
};

}  // namespace platform
