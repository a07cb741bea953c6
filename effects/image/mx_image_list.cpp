#include "effects/image/mx_image_list.h"

#include <algorithm>
#include <cmath>

#include "core/bank_context.h"
#include "effects/image/image_editing.h"
#include "effects/image/image_geometry.h"
#include "effects/image/image_list_play.h"
#include "effects/image/image_view.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

namespace {

constexpr const char* kNewDuration = "30";
constexpr const char* kEmptyDuration = "60";

// A duration text as stored: whole seconds of the 16-bit range, 0 for no number.
double storedSeconds(const std::string& text) {
    const std::optional<double> v = platform::parseNumber(text);
    if (!v) return 0.0;
    return platform::roundHalfEven(std::clamp(*v, -32768.0, 32767.0));
}

// A duration the cell accepts: a number that stores as a 16-bit whole number.
bool acceptableDuration(const std::string& text) {
    const std::optional<double> v = platform::parseNumber(text);
    return v && platform::toInt16(*v).has_value();
}

platform::PicturePtr buttonPicture(int kind) {
    // Plus, minus, up and down marks on a 16 x 16 picture.
    auto pic = std::make_shared<platform::Surface>(16, 16, platform::rgb(240, 240, 240));
    for (int t = 3; t <= 12; ++t) {
        if (kind <= 1) pic->put(t, 8, 0);
        if (kind == 0) pic->put(8, t, 0);
        if (kind >= 2) {
            const int y = kind == 2 ? 3 + (t - 3) / 2 : 12 - (t - 3) / 2;
            pic->put(t, y, 0);
            pic->put(15 - t, y, 0);
        }
    }
    return pic;
}

}  // namespace

MxImageList::MxImageList(platform::Desktop& desktop, ImageEditing& editing)
    : Window(desktop, "MxImageList"), editing_(editing) {
    layout();
    OK.onClick = [this] { OK_Click(); };
    addImage.onClick = [this] { addImage_Click(); };
    removeImage.onClick = [this] { removeImage_Click(); };
    upImage.onClick = [this] { upImage_Click(); };
    downImage.onClick = [this] { downImage_Click(); };
    // A plain click on a row previews it; a double click edits the cell.
    myImageList.onItemClick = [this](int row, int button, int) {
        myImageList_ItemClick(row, button, 0);
    };
    myImageList.onDblClick = [this] {
        if (const auto row = myImageList.SelectedIndex()) myImageList_ItemClick(*row, 1, 1);
    };
    myImageList.onAfterCellEdit = [this](const std::string& o, const std::string& n) {
        myImageList_AfterCellEdit(o, n);
    };
    myImageList.onSpinDown = [this] { myImageList_SpinDown(); };
    myImageList.onSpinUp = [this] { myImageList_SpinUp(); };
}

void MxImageList::layout() {
    setCaption("Image List");
    setWidth(4185 + 90);
    setHeight(4425 + 420);
    Label1.setCaption("Image List");
    Label1.move(240, 120, 2772, 252);
    myImageList.move(120, 480, 3372, 3132);
    myImageList.setBackColor(platform::rgb(224, 224, 224));
    const struct {
        platform::Button* button;
        const char* tip;
        float top;
    } buttons[] = {{&addImage, "add file", 480},
                   {&removeImage, "remove file", 1080},
                   {&upImage, "move up", 2520},
                   {&downImage, "move down", 3120}};
    int kind = 0;
    for (const auto& b : buttons) {
        b.button->move(3600, b.top, 492, 492);
        b.button->setToolTipText(b.tip);
        b.button->setPicture(buttonPicture(kind++));
    }
    OK.setCaption("OK");
    OK.move(1200, 3840, 1452, 372);
    CD.setVisible(false);
}

void MxImageList::Form_Load() {
    const float w = myImageList.Width();
    myImageList.AddColumn("File Name", w / 4 * 3);
    myImageList.AddColumn("Duration (s)", w / 4);
    myImageList.AddColumn("Path", w * 2);
}

bool MxImageList::chooseFile() {
    CD.setCancelError(true);
    CD.setDialogTitle("Add Image");
    CD.setFilter("Bilder bmp,jpg,gif,ico|*.bmp;*.jpg;*.gif;*.ico");
    CD.setFilterIndex(1);
    return CD.ShowOpen();
}

void MxImageList::addImage_Click() {
    if (!chooseFile()) return;
    const int row = myImageList.AddItem(CD.FileTitle());
    myImageList.setSubItem(row, 1, kNewDuration);
    myImageList.setSubItem(row, 2, CD.FileName());
    storeImageList();
}

void MxImageList::removeImage_Click() {
    const auto row = myImageList.SelectedIndex();
    if (myImageList.Count() >= 1 && row && *row >= 1 && *row <= myImageList.Count())
        myImageList.Remove(*row);
    storeImageList();
}

void MxImageList::exchangeRows(int a, int b) {
    platform::ListRow& ra = myImageList.Item(a);
    platform::ListRow& rb = myImageList.Item(b);
    const std::string t[2][3] = {{ra.Text, myImageList.SubItem(a, 1), myImageList.SubItem(a, 2)},
                                 {rb.Text, myImageList.SubItem(b, 1), myImageList.SubItem(b, 2)}};
    ra.Text = t[1][0];
    rb.Text = t[0][0];
    for (int k = 1; k <= 2; ++k) {
        myImageList.setSubItem(a, k, t[1][k]);
        myImageList.setSubItem(b, k, t[0][k]);
    }
}

void MxImageList::upImage_Click() {
    const auto row = myImageList.SelectedIndex();
    if (myImageList.Count() >= 2 && row && *row > 1 && *row <= myImageList.Count())
        exchangeRows(*row, *row - 1);
    storeImageList();
}

void MxImageList::downImage_Click() {
    const auto row = myImageList.SelectedIndex();
    if (myImageList.Count() >= 2 && row && *row >= 1 && *row < myImageList.Count())
        exchangeRows(*row, *row + 1);
    storeImageList();
}

void MxImageList::myImageList_ItemClick(int row, int button, int flag) {
    if (button != 1 || row < 1 || row > myImageList.Count()) return;
    if (flag != 0) {
        switch (myImageList.CurrentColumn()) {
            case 0:
                myImageList.StartSubItemEdit(row, 0, myImageList.Item(row).Text);
                break;
            case 1:
                myImageList.StartSubItemEdit(row, 1, myImageList.SubItem(row, 1));
                break;
            case 2:
                // The path changes now; the entry takes it at the next store.
                if (chooseFile() && row <= myImageList.Count())
                    myImageList.setSubItem(row, 2, CD.FileName());
                break;
            default:
                break;
        }
        return;
    }
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    const std::string path = myImageList.SubItem(row, 2);
    if (!loadBankPictureOrSay(*bank, path)) return;
    startImageScroll(*bank);
    drawImage(*bank);
}

void MxImageList::myImageList_AfterCellEdit(const std::string& oldText,
                                            const std::string& newText) {
    // The row the editor was open on: the selected one whenever a user edits,
    // since the click that opens the editor selects its row.
    const int row = myImageList.LastEditRow();
    if (row >= 1 && row <= myImageList.Count()) {
        switch (myImageList.CurrentColumn()) {
            case 0:
                myImageList.Item(row).Text = newText;
                break;
            case 1: {
                const std::string text = newText.empty() ? kEmptyDuration : newText;
                // A text that is no number, or none a duration can hold, is refused.
                myImageList.setSubItem(row, 1, acceptableDuration(text) ? text : oldText);
                break;
            }
            case 2:
                myImageList.setSubItem(row, 2, newText);
                break;
            default:
                break;
        }
    }
    storeImageList();
}

void MxImageList::spin(double by) {
    const std::optional<double> v = platform::parseNumber(myImageList.EditText());
    if (!v) return;
    myImageList.setEditText(platform::numberText(*v + by, desktop().locale()));
}

void MxImageList::myImageList_SpinDown() {
    spin(-1);
}
void MxImageList::myImageList_SpinUp() {
    spin(1);
}

void MxImageList::storeImageList() {
    EffectRecord* e = editing_.entry();
    if (e == nullptr) return;  // never into another entry
    const int count = std::min(myImageList.Count(), 32767);
    e->imageCount = static_cast<int16_t>(count);
    const auto slots = static_cast<size_t>(count) + 1;  // one spare
    e->imageNames.assign(slots, std::string());
    e->durations.assign(slots, 0.0);
    e->imagePaths.assign(slots, std::string());
    for (int i = 0; i < count; ++i) {
        const auto idx = static_cast<size_t>(i);
        e->imageNames[idx] = myImageList.Item(i + 1).Text;
        e->durations[idx] = storedSeconds(myImageList.SubItem(i + 1, 1));
        e->imagePaths[idx] = myImageList.SubItem(i + 1, 2);
    }
}

void MxImageList::OK_Click() {
    storeImageList();
    BankContext* bank = editing_.bank();
    if (bank == nullptr) {
        Hide();
        return;
    }
    const int rows = myImageList.Count();
    if (rows >= 1) {
        loadBankPictureOrSay(*bank, myImageList.SubItem(1, 2));
        if ((bank = editing_.bank()) == nullptr) return;
        const double first = platform::parseNumber(myImageList.SubItem(1, 1)).value_or(0.0);
        bank->secondTimer().setInterval(listIntervalExact(first));
        if (rows >= 2) {
            bank->secondTimer().setEnabled(true);
            bank->state().imageIdx = 0;
        } else {
            bank->secondTimer().setEnabled(false);
        }
        startImageScroll(*bank);
        drawImage(*bank);
    } else {
        bank->secondTimer().setEnabled(false);
        drawImage(*bank);
    }
    Hide();
}

}  // namespace kavrel
