#include "effects/image/mx_image_form.h"

#include <memory>
#include <optional>

#include "core/bank_context.h"
#include "effects/image/image_editing.h"
#include "effects/image/image_geometry.h"
#include "effects/image/image_list_play.h"
#include "effects/image/image_view.h"
#include "effects/image/mx_image_list.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

namespace {

// Grid position (column, row) of each direction button: indexes run
// counter-clockwise from the top middle, 0 in the centre.
constexpr int kColumn[9] = {1, 1, 0, 0, 0, 1, 2, 2, 2};
constexpr int kRow[9] = {1, 0, 0, 1, 2, 2, 2, 1, 0};

// A 16 x 16 arrow picture pointing from the centre towards the button's place
// on the grid (a dot for the centre), on the given background.
platform::PicturePtr arrowPicture(int index, platform::Color back, platform::Color ink) {
    auto pic = std::make_shared<platform::Surface>(16, 16, back);
    const int dx = kColumn[index] - 1, dy = kRow[index] - 1;
    for (int t = -1; t <= 6; ++t)
        for (int k = -1; k <= 1; ++k) {
            const int x = 8 + dx * t + (dy != 0 ? k : 0), y = 8 + dy * t + (dx != 0 ? k : 0);
            if (index == 0 && t > 1) break;
            pic->put(x, y, ink);
        }
    return pic;
}

void setControlValue(platform::Slider& slider, int value) {
    slider.setValue(value);
}

}  // namespace

MxImageForm::MxImageForm(platform::Desktop& desktop, ImageEditing& editing)
    : Window(desktop, "MxImageForm"), editing_(editing) {
    layout();
    wire();
}

void MxImageForm::layout() {
    setCaption("Images");
    setWidth(2505 + 90);
    setHeight(3825 + 420);
    Label1.setCaption("Name : ");
    Label1.move(120, 120, 732, 252);
    myName.setText("Blue-Red");
    myName.move(960, 120, 1452, 288);
    BImage.setCaption("Images");
    BImage.move(120, 600, 2292, 372);
    for (int i = 0; i < 9; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        b.move(120.0f + 240.0f * static_cast<float>(kColumn[i]),
               1200.0f + 240.0f * static_cast<float>(kRow[i]), 252, 252);
        b.setDownPicture(arrowPicture(i, platform::rgb(255, 240, 150), 0));
        b.setDisabledPicture(
            arrowPicture(i, platform::rgb(220, 220, 220), platform::rgb(128, 128, 128)));
        b.setPicture(arrowPicture(i, platform::rgb(240, 240, 240), 0));
    }
    Label2.setCaption("Speed :");
    Label2.move(1080, 1200, 1212, 252);
    Slider1.move(1080, 1440, 1332, 252);
    Slider1.setMin(0);
    Slider1.setMax(100);
    Label3.setCaption("Slow");
    Label3.move(1080, 1800, 612, 252);
    Label4.setCaption("Fast");
    Label4.move(1800, 1800, 612, 252);
    PStretch.setCaption("stretch");
    PStretch.move(120, 2160, 852, 252);
    Label5.setCaption("Offset :");
    Label5.move(1080, 2160, 1212, 252);
    PTile.setCaption("tile");
    PTile.move(120, 2520, 732, 252);
    slOffset.move(1080, 2520, 1332, 252);
    slOffset.setMin(0);
    slOffset.setMax(100);
    beatControl.setCaption("Beat Control : ");
    beatControl.move(120, 2880, 1332, 252);
    OK.setCaption("OK");
    OK.move(120, 3360, 2292, 372);
}

void MxImageForm::wire() {
    OK.onClick = [this] { OK_Click(); };
    for (int i = 0; i < 9; ++i)
        richtung[static_cast<size_t>(i)].onClick = [this, i] { richtung_Click(i); };
    PStretch.onClick = [this] { PStretch_Click(); };
    PTile.onClick = [this] { PTile_Click(); };
    // Change (every value change, also from code) does what Scroll does.
    Slider1.onScroll = [this] { Slider1_Scroll(); };
    Slider1.onChange = [this] { Slider1_Scroll(); };
    slOffset.onScroll = [this] { slOffset_Scroll(); };
    slOffset.onChange = [this] { slOffset_Scroll(); };
    beatControl.onClick = [this] { beatControl_Click(); };
    BImage.onClick = [this] { BImage_Click(); };
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
}

void MxImageForm::showDirection(int index) {
    for (int i = 0; i < 9; ++i) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        b.setPicture(i == index ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxImageForm::fill(BankContext& bank) {
    editing_.pin(bank);
    EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    filling_ = true;
    myName.setText(e->name);
    PStretch.setValue(e->stretch == 1 ? 1 : 0);
    if ((e = editing_.entry()) != nullptr) PTile.setValue(e->tile == 1 ? 1 : 0);
    if ((e = editing_.entry()) != nullptr) {
        if (e->direction > 8) e->direction = 0;
        showDirection(e->direction);
        setControlValue(Slider1, e->speed);
    }
    if ((e = editing_.entry()) != nullptr) setControlValue(slOffset, e->level);
    filling_ = false;
}

void MxImageForm::richtung_Click(int index) {
    showDirection(index);
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    bank->entry()->direction = static_cast<int16_t>(index);
    startImageScroll(*bank);
    drawImage(*bank);
    if ((bank = editing_.bank()) == nullptr) return;
    const EffectRecord* e = bank->entry();
    if (e->stretch == 0) bank->stepTimer().setEnabled(index > 0 && e->imageCount > 0);
}

void MxImageForm::PStretch_Click() {
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    if (!filling_) bank->entry()->stretch = static_cast<int16_t>(PStretch.Value());
    if (PStretch.Value() == 1) bank->stepTimer().setEnabled(false);
    drawImage(*bank);
}

void MxImageForm::PTile_Click() {
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    if (!filling_) bank->entry()->tile = static_cast<int16_t>(PTile.Value());
    drawImage(*bank);
}

void MxImageForm::Slider1_Scroll() {
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    EffectRecord* e = bank->entry();
    if (!filling_) e->speed = static_cast<int16_t>(Slider1.Value());
    bank->stepTimer().setInterval(imageStepInterval(e->speed));
}

void MxImageForm::slOffset_Scroll() {
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    if (!filling_) bank->entry()->level = static_cast<int16_t>(slOffset.Value());
    startImageScroll(*bank);
    drawImage(*bank);
}

void MxImageForm::beatControl_Click() {
    BankContext* bank = editing_.bank();
    if (bank == nullptr) return;
    if (beatControl.Value() == 1) {
        bank->stepTimer().setEnabled(false);
        bank->entry()->beat = 1;
        bank->state().beat = true;
    } else {
        bank->state().beat = false;
        bank->entry()->beat = 0;
        bank->stepTimer().setEnabled(true);
    }
}

void MxImageForm::BImage_Click() {
    const EffectRecord* e = editing_.entry();
    if (e == nullptr) return;
    MxImageList& list = editing_.list();
    list.myImageList.Clear();
    if ((e = editing_.entry()) == nullptr) return;
    for (int i = 0; i < e->imageCount; ++i) {
        const auto idx = static_cast<size_t>(i);
        const int row =
            list.myImageList.AddItem(idx < e->imageNames.size() ? e->imageNames[idx] : "");
        list.myImageList.setSubItem(
            row, 1, platform::numberText(pictureDuration(*e, i), desktop().locale()));
        list.myImageList.setSubItem(row, 2, picturePath(*e, i));
    }
    list.Show();
}

void MxImageForm::myName_KeyPress(int& keyAscii) {
    if (keyAscii == 13) OK_Click();
}

void MxImageForm::OK_Click() {
    if (MxImageList* list = editing_.peekList(); list != nullptr && list->Visible())
        list->OK_Click();
    BankContext* bank = editing_.bank();
    if (bank == nullptr) {
        Hide();
        return;
    }
    BankState& s = bank->state();
    const int16_t index = editing_.recordIndex();
    if (s.effOk.size() <= static_cast<size_t>(index))
        s.effOk.resize(static_cast<size_t>(index) + 1, false);
    s.effOk[static_cast<size_t>(index)] = true;
    const std::string name = myName.Text();
    platform::ListView& rows = bank->list();
    for (int r = 1; r <= rows.Count(); ++r) {
        if (platform::textToInt16(rows.SubItem(r, 1)) == std::optional<int16_t>(index)) {
            rows.Item(r).Text = name;
            break;
        }
    }
    EffectRecord* e = bank->entry();
    e->name = name;
    e->speed = static_cast<int16_t>(Slider1.Value());
    e->level = static_cast<int16_t>(slOffset.Value());
    if (e->imageCount >= 2) {
        loadBankPictureOrSay(*bank, picturePath(*e, 0));
        if ((bank = editing_.bank()) != nullptr) {
            startImageScroll(*bank);
            drawImage(*bank);
        }
        if ((bank = editing_.bank()) != nullptr) {
            bank->secondTimer().setInterval(listInterval(pictureDuration(*bank->entry(), 0)));
            bank->secondTimer().setEnabled(true);
            bank->state().imageIdx = 0;
        }
    } else {
        bank->secondTimer().setEnabled(false);
    }
    Hide();
}

}  // namespace kavrel
