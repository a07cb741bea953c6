#include "effects/ticker/mx_ticker_form.h"
#include "effects/common/beat_control.h"

#include <memory>
#include <optional>

#include "core/bank_context.h"
#include "core/color_mixer.h"
#include "core/effect_record.h"
#include "core/effect_services.h"
#include "effects/ticker/font_descriptor.h"
#include "effects/ticker/ticker_effect.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr platform::Color kFormGrey = platform::rgb(128, 128, 128);
constexpr platform::Color kLightGrey = platform::rgb(224, 224, 224);
constexpr platform::Color kWhite = platform::rgb(255, 255, 255);
constexpr int32_t kFontDialogFlags = 0x20103;
constexpr int kDirections[] = {1, 3, 5, 7};

platform::PicturePtr swatch(platform::Color c) {
    return std::make_shared<const platform::Surface>(24, 24, c);
}

int16_t ticked(const platform::CheckBox& box) {
    return box.Value() == 1 ? 1 : 0;
}

int boxValue(int16_t field) {
    return field != 0 ? 1 : 0;
}

// Sets a flag for the length of a scope.
struct Quiet {
    explicit Quiet(bool& f) : flag(f), was(f) { flag = true; }
    ~Quiet() { flag = was; }
    bool& flag;
    bool was;
};

}  // namespace

MxTickerForm::MxTickerForm(platform::Desktop& desktop, EffectServices& services,
                           TickerEffect& ticker)
    : Window(desktop, "MxTickerForm"), services_(services), ticker_(ticker) {
    layoutControls();
    wireHandlers();
}

void MxTickerForm::layoutControls() {
    setCaption("Ticker");
    setScaleMode(platform::ScaleMode::Pixels);
    setBackColor(kFormGrey);
    setWidth(2745);
    setHeight(6150);
    struct LabelSpec {
        platform::Label& label;
        const char* text;
        float left, top;
    };
    for (const LabelSpec& l : {LabelSpec{lblName, "Name : ", 8, 6},
                               {lblColor1, "Text Color : ", 8, 50},
                               {lblColor2, "Background Color : ", 8, 74},
                               {lblText, "Text : ", 8, 96},
                               {lblSpeed, "Speed : ", 8, 138},
                               {lblOffset, "Offset : ", 8, 180},
                               {lblFont, "Font : ", 8, 222},
                               {lblDirection, "Direction : ", 96, 268}}) {
        l.label.setCaption(l.text);
        l.label.move(l.left, l.top, 100, 16);
        l.label.setBackColor(kFormGrey);
        l.label.setForeColor(kWhite);
    }
    myName.move(8, 22, 159, 20);
    myName.setText("Blue-Red");
    Color1.move(120, 48, 47, 18);
    Color2.move(120, 72, 47, 18);
    myTicker.move(8, 112, 159, 20);
    myTicker.setText("Orva");
    for (platform::TextBox* t : {&myName, &myTicker}) t->setBackColor(kLightGrey);
    slSpeed.move(8, 154, 159, 24);
    slSpeed.setToolTipText("slow - fast");
    slOffset.move(8, 196, 159, 24);
    slOffset.setToolTipText("postion of the ticker");
    for (platform::Slider* s : {&slSpeed, &slOffset}) {
        s->setMin(0);
        s->setMax(100);
        s->setValue(10);
    }
    myFont.move(8, 238, 130, 21);
    myFont.setBackColor(kLightGrey);
    myFontBox.move(140, 238, 27, 21);
    myFontBox.setCaption("...");
    myFontBox.setEnabled(false);
    Beat.move(8, 264, 84, 18);
    Beat.setCaption("Beat Control");
    Letter.move(8, 288, 84, 18);
    Letter.setCaption("LetterMode");
    Letter.setToolTipText("every step the next letter");
    Backward.move(8, 312, 84, 18);
    Backward.setCaption("Backward");
    Backward.setToolTipText("reverses the text-string");
    Mirror.move(8, 336, 84, 18);
    Mirror.setCaption("Mirrored");
    Mirror.setToolTipText("mirrors the letters");
    for (platform::CheckBox* c : {&Beat, &Letter, &Backward, &Mirror}) {
        c->setBackColor(kFormGrey);
        c->setForeColor(kWhite);
    }
    const platform::PicturePtr normal = swatch(platform::rgb(192, 192, 192));
    const platform::PicturePtr down = swatch(platform::rgb(255, 240, 150));
    const platform::PicturePtr disabled = swatch(platform::rgb(96, 96, 96));
    for (size_t i = 0; i < richtung.size(); ++i) richtung[i].setVisible(false);
    struct Place {
        int index;
        float left, top;
    };
    for (const Place& p : {Place{1, 122, 284}, {3, 98, 308}, {7, 146, 308}, {5, 122, 332}}) {
        platform::Button& b = richtung[static_cast<size_t>(p.index)];
        b.setVisible(true);
        b.move(p.left, p.top, 24, 24);
        b.setPicture(normal);
        b.setDownPicture(down);
        b.setDisabledPicture(disabled);
    }
    OK.move(8, 360, 159, 22);
    OK.setCaption("OK");
    OK.setBackColor(kLightGrey);
}

void MxTickerForm::wireHandlers() {
    OK.onClick = [this] { OK_Click(); };
    Backward.onClick = [this] { Backward_Click(); };
    Mirror.onClick = [this] { Mirror_Click(); };
    slOffset.onChange = [this] { slOffset_Change(); };
    myTicker.onChange = [this] { myTicker_Change(); };
    Color1.onClick = [this] { Color1_Click(); };
    Color2.onClick = [this] { Color2_Click(); };
    slSpeed.onChange = [this] { slSpeed_Change(); };
    myFont.onClick = [this] { myFont_Click(); };
    myFontBox.onClick = [this] { myFontBox_Click(); };
    for (int i : kDirections)
        richtung[static_cast<size_t>(i)].onClick = [this, i] { richtung_Click(i); };
    Letter.onClick = [this] { Letter_Click(); };
    Beat.onClick = [this] { Beat_Click(); };
    myName.onKeyPress = [this](int& key) { myName_KeyPress(key); };
}

void MxTickerForm::Form_Load() {
    // Loading changes no entry and rebuilds nothing.
    Quiet quiet(quiet_);
    myFont.Clear();
    myFont.AddItem(kPixelFontName);
    myFont.AddItem(kWindowsFontChoice);
    myFont.setListIndex(0);
    myFontBox.setEnabled(false);
}

void MxTickerForm::fillFrom(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    bankId_ = bank.id();
    record_ = bank.state().curEff;
    {
        Quiet quiet(quiet_);
        myName.setText(e->name);
        Color1.setBackColor(e->color1);
        Color2.setBackColor(e->color2);
        slOffset.setValue(e->level);
        slSpeed.setValue(e->speed);
        myTicker.setText(e->text);
        int found = -1;
        for (int i = 0; i < myFont.ListCount() && found < 0; ++i)
            if (myFont.List(i) == e->font) found = i;
        if (found < 0) {
            myFont.AddItem(e->font);
            found = myFont.ListCount() - 1;
        }
        myFont.setListIndex(found);
        myFontBox.setEnabled(e->font != kPixelFontName);
        Beat.setValue(boxValue(e->beat));
        Backward.setValue(boxValue(e->backward));
        Mirror.setValue(boxValue(e->mirror));
        Letter.setValue(boxValue(e->letterMode));
        markDirection(e->direction);
    }
    if (platform::Window* main = services_.mainWindow()) {
        setLeft(main->Left() + main->Width() / 2 - Width() / 2);
        setTop(main->Top() + main->Height() / 2 - Height() / 2);
    }
    Show();
}

EffectRecord* MxTickerForm::boundEntry(BankContext*& bank) {
    bank = services_.bank(bankId_);
    EffectRecord* e = nullptr;
    if (bank != nullptr && record_ >= 0 && bank->state().curEff == record_) e = bank->entry();
    if (e == nullptr || e->type != static_cast<int16_t>(EffectType::Ticker)) {
        record_ = -1;
        Hide();
        return nullptr;
    }
    return e;
}

void MxTickerForm::dropIfStale() {
    BankContext* bank = nullptr;
    if (Visible()) boundEntry(bank);
}

void MxTickerForm::rebuild(BankContext& bank) {
    ticker_.initTicker(bank);
}

void MxTickerForm::markDirection(int index) {
    for (int i : kDirections) {
        platform::Button& b = richtung[static_cast<size_t>(i)];
        b.setPicture(i == index ? b.DownPicture() : b.DisabledPicture());
    }
}

void MxTickerForm::OK_Click() {
    BankContext* bank = nullptr;
    EffectRecord* e = boundEntry(bank);
    if (e == nullptr) return;
    BankState& s = bank->state();
    const auto index = static_cast<size_t>(record_);
    if (s.effOk.size() <= index) s.effOk.resize(index + 1, false);
    s.effOk[index] = true;
    e->name = myName.Text();
    platform::ListView& list = bank->list();
    for (int row = 1; row <= list.Count(); ++row)
        if (platform::textToInt16(list.SubItem(row, 1)) == record_) list.Item(row).Text = e->name;
    Hide();
}

void MxTickerForm::storeFlag(int16_t EffectRecord::*field, const platform::CheckBox& box) {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    e->*field = ticked(box);
    rebuild(*bank);
}

void MxTickerForm::Backward_Click() {
    storeFlag(&EffectRecord::backward, Backward);
}

void MxTickerForm::Mirror_Click() {
    storeFlag(&EffectRecord::mirror, Mirror);
}

void MxTickerForm::slOffset_Change() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    e->level = static_cast<int16_t>(slOffset.Value());
    rebuild(*bank);
}

void MxTickerForm::myTicker_Change() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    if (myTicker.Text().empty()) {
        // The handler runs again for "-" and builds that.
        myTicker.setText("-");
        return;
    }
    e->text = myTicker.Text();
    rebuild(*bank);
}

void MxTickerForm::pickColor(platform::PictureBox& swatchBox, bool text) {
    BankContext* bank = nullptr;
    if (boundEntry(bank) == nullptr) return;
    const uint32_t c = kavrel::pickColor(services_, swatchBox.BackColor());
    // The mixer is modal: the entry may have gone meanwhile.
    EffectRecord* e = boundEntry(bank);
    if (e == nullptr) return;
    swatchBox.setBackColor(c);
    (text ? e->color1 : e->color2) = c;
    rebuild(*bank);
}

void MxTickerForm::Color1_Click() {
    pickColor(Color1, true);
}

void MxTickerForm::Color2_Click() {
    pickColor(Color2, false);
}

void MxTickerForm::slSpeed_Change() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    e->speed = static_cast<int16_t>(slSpeed.Value());
    bank->stepTimer().setInterval(tickerInterval(e->speed));
}

void MxTickerForm::myFont_Click() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    const std::string t = myFont.Text();
    if (t == kPixelFontName) {
        myFontBox.setEnabled(false);
        e->font = kPixelFontName;
        rebuild(*bank);
        return;
    }
    myFontBox.setEnabled(true);
    // "WindowsFont" only offers the dialog; the running ticker stays.
    if (t == kWindowsFontChoice) return;
    e->font = t;
    readFontDescriptor(t, bank->state());
    rebuild(*bank);
}

void MxTickerForm::myFontBox_Click() {
    BankContext* bank = nullptr;
    if (boundEntry(bank) == nullptr) return;
    CDFont.setFlags(kFontDialogFlags);
    CDFont.setCancelError(true);
    const bool chosen = CDFont.ShowFont();
    EffectRecord* e = boundEntry(bank);
    if (e == nullptr) return;
    // A cancel (or a size no 16-bit number holds) changes nothing; the bank
    // is rebuilt either way.
    const std::optional<int16_t> size =
        chosen ? platform::toInt16(CDFont.FontSize()) : std::nullopt;
    if (size) {
        BankState& s = bank->state();
        s.fontName = CDFont.FontName();
        s.fontSize = *size;
        s.fontItalic = CDFont.FontItalic() ? 1 : 0;
        s.fontBold = CDFont.FontBold() ? 1 : 0;
        s.fontWeight = CDFont.FontUnderline() ? 1 : 0;
        s.fontStrike = CDFont.FontStrikethru() ? 1 : 0;
        e->font = makeFontDescriptor(s.fontName, s.fontSize, s.fontItalic == 1, s.fontBold == 1,
                                     s.fontWeight == 1, s.fontStrike == 1);
        myFont.AddItem(e->font, 0);
        myFont.setListIndex(0);
        e = boundEntry(bank);
        if (e == nullptr) return;
    }
    rebuild(*bank);
}

void MxTickerForm::richtung_Click(int index) {
    if (quiet_ || Letter.Value() != 0) return;
    BankContext* bank = nullptr;
    EffectRecord* e = boundEntry(bank);
    if (e == nullptr) return;
    markDirection(index);
    slOffset.setValue(0);
    e = boundEntry(bank);
    if (e == nullptr) return;
    e->direction = static_cast<int16_t>(index);
    rebuild(*bank);
}

void MxTickerForm::Letter_Click() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    const bool on = Letter.Value() == 1;
    if (on) markDirection(1);
    slOffset.setValue(0);
    e = boundEntry(bank);
    if (e == nullptr) return;
    e->letterMode = on ? 1 : 0;
    if (on) e->direction = 1;
    rebuild(*bank);
}

void MxTickerForm::Beat_Click() {
    BankContext* bank = nullptr;
    EffectRecord* e = quiet_ ? nullptr : boundEntry(bank);
    if (e == nullptr) return;
    setBeatControl(*bank, *e, Beat.Value() == 1, true);
}

void MxTickerForm::myName_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    OK_Click();
}

}  // namespace kavrel
