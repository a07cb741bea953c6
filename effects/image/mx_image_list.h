#pragma once
// The image list "Image List": the pictures of an Image entry with their
// display times and paths, edited in place and stored into the entry after
// every change; a row click shows that picture on the bank.
#include <string>

#include "platform/controls/button.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/control_declare.h"
#include "platform/controls/label.h"
#include "platform/controls/list_view.h"
#include "platform/windows/window.h"

namespace kavrel {

class ImageEditing;

class MxImageList : public platform::Window {
  public:
    MxImageList(platform::Desktop& desktop, ImageEditing& editing);

    PLATFORM_CONTROL(platform::Label, Label1);
    PLATFORM_CONTROL(platform::ListView, myImageList);
    PLATFORM_CONTROL(platform::Button, addImage);
    PLATFORM_CONTROL(platform::Button, removeImage);
    PLATFORM_CONTROL(platform::Button, upImage);
    PLATFORM_CONTROL(platform::Button, downImage);
    PLATFORM_CONTROL(platform::Button, OK);
    PLATFORM_CONTROL(platform::CommonDialog, CD);

    void OK_Click();
    void addImage_Click();
    void removeImage_Click();
    void upImage_Click();
    void downImage_Click();
    // `flag` nonzero: a cell click that edits the clicked column; zero: a row
    // click that shows the row's picture on the bank.
    void myImageList_ItemClick(int row, int button, int flag);
    void myImageList_AfterCellEdit(const std::string& oldText, const std::string& newText);
    void myImageList_SpinDown();
    void myImageList_SpinUp();

  protected:
    void Form_Load() override;

  private:
    void layout();
    void storeImageList();
    // The file dialog; false on Cancel.
    bool chooseFile();
    void exchangeRows(int a, int b);
    void spin(double by);

    ImageEditing& editing_;
};

}  // namespace kavrel
