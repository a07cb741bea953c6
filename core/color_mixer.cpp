#include "core/color_mixer.h"

#include <initializer_list>

#include "core/colors.h"
#include "core/effect_services.h"
#include "core/shared_state.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr int kRampRows = 128;
constexpr float kRampLineEnd = 27;  // ramp lines run from x = 0 to here
constexpr float kRampWidth = 24;    // the picture is no wider than its lines
constexpr uint32_t kGrey = platform::rgb(128, 128, 128);
constexpr uint32_t kWhite = platform::rgb(255, 255, 255);
constexpr uint32_t kBlack = platform::rgb(0, 0, 0);
constexpr uint32_t kButtonGrey = platform::rgb(224, 224, 224);

uint8_t channelByte(const platform::Slider& s) {
    // The range keeps the value within 0..255.
    return static_cast<uint8_t>(s.Value());
}

}  // namespace

MxColorMixer::MxColorMixer(platform::Desktop& desktop, SharedState& state)
    : Window(desktop, "MxColorMixer"), state_(state) {
    layoutControls();
    wireHandlers();
}

void MxColorMixer::layoutControls() {
    setCaption("ColorMixer");
    setScaleMode(platform::ScaleMode::Pixels);
    setBackColor(kGrey);
    setWidth(312 * platform::kTwipsPerPixel);
    setHeight(240 * platform::kTwipsPerPixel);

    struct Column {
        platform::Label& caption;
        platform::Slider& slider;
        platform::PictureBox& ramp;
        const char* text;
    };
    float left = 8;
    for (const Column& c :
         {Column{lblRed, Sred, Pred, "Red"}, Column{lblGreen, Sgreen, Pgreen, "Green"},
          Column{lblBlue, Sblue, Pblue, "Blue"}}) {
        c.caption.move(left, 8, 60, 16);
        c.caption.setCaption(c.text);
        c.slider.move(left, 28, 28, kRampRows);
        c.slider.setOrientation(1);
        c.slider.setMin(0);
        c.slider.setMax(255);
        c.ramp.move(left + 32, 28, kRampWidth, kRampRows);
        c.ramp.canvas().setScaleMode(platform::ScaleMode::Pixels);
        left += 68;
    }
    lblResult.move(left, 8, 88, 16);
    lblResult.setCaption("Result");
    Presult.move(left, 28, 88, kRampRows);
    for (platform::Label* l : {&lblRed, &lblGreen, &lblBlue, &lblResult}) {
        l->setBackColor(kGrey);
        l->setForeColor(kWhite);
    }
    Bcancel.move(8, 168, 128, 28);
    Bcancel.setCaption("Cancel");
    BOK.move(144, 168, 160, 28);
    BOK.setCaption("OK");
    for (platform::Button* b : {&BOK, &Bcancel}) b->setBackColor(kButtonGrey);
}

void MxColorMixer::wireHandlers() {
    for (platform::Slider* s : {&Sred, &Sgreen, &Sblue}) {
        s->onChange = [this] { updateColorPictures(); };
        s->onScroll = [this] { updateColorPictures(); };
    }
    for (platform::PictureBox* p : {&Pred, &Pgreen, &Pblue})
        p->onMouseDown = [this](int, int, float x, float y) { rampMouseDown(x, y); };
    Pred.onClick = [this] { rampClick(Pred, Sred, kRedMask); };
    Pgreen.onClick = [this] { rampClick(Pgreen, Sgreen, kGreenMask); };
    Pblue.onClick = [this] { rampClick(Pblue, Sblue, kBlueMask); };
    BOK.onClick = [this] { BOK_Click(); };
    Bcancel.onClick = [this] { Bcancel_Click(); };
}

void MxColorMixer::updateColorPictures() {
    const uint8_t r = channelByte(Sred);
    const uint8_t g = channelByte(Sgreen);
    const uint8_t b = channelByte(Sblue);
    for (platform::PictureBox* p : {&Pred, &Pgreen, &Pblue})
        p->canvas().setScaleMode(platform::ScaleMode::Pixels);
    for (int i = 0; i < kRampRows; ++i) {
        const auto v = static_cast<uint8_t>(2 * i);
        const auto y = static_cast<float>(kRampRows - 1 - i);
        Pred.canvas().Line(0, y, kRampLineEnd, y, platform::rgb(v, g, b));
        Pgreen.canvas().Line(0, y, kRampLineEnd, y, platform::rgb(r, v, b));
        Pblue.canvas().Line(0, y, kRampLineEnd, y, platform::rgb(r, g, v));
    }
    // Dark markers on light mixes; the mean is rounded down.
    const int32_t sum = int32_t{r} + g + b;
    const int64_t mean = platform::intFloor(static_cast<double>(sum) / 3.0);
    const uint32_t marker = mean > 128 ? kBlack : kWhite;
    const auto markerRow = [](uint8_t v) { return static_cast<float>(kRampRows - 1) - v / 2.0f; };
    Pred.canvas().Line(0, markerRow(r), kRampLineEnd, markerRow(r), marker);
    Pgreen.canvas().Line(0, markerRow(g), kRampLineEnd, markerRow(g), marker);
    Pblue.canvas().Line(0, markerRow(b), kRampLineEnd, markerRow(b), marker);
    Presult.setBackColor(platform::rgb(r, g, b));
}

void MxColorMixer::rampMouseDown(float x, float y) {
    pickX = platform::toInt16(x).value_or(0);
    pickY = platform::toInt16(y).value_or(0);
}

void MxColorMixer::rampClick(platform::PictureBox& ramp, platform::Slider& slider, uint32_t mask) {
    const auto colour = static_cast<uint32_t>(ramp.canvas().Point(pickX, pickY));
    slider.setValue(getColorPart(colour, mask));
}

void MxColorMixer::BOK_Click() {
    closedByOk_ = true;
    state_.mixerColor = Presult.BackColor();
    Hide();
}

void MxColorMixer::Bcancel_Click() {
    state_.mixerColor = state_.mixerOldColor;
    Hide();
}

void MxColorMixer::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode != platform::kUnloadFromCloseBox) return;
    cancel = 1;
    Bcancel_Click();
}

namespace {

uint32_t runMixer(EffectServices& services, uint32_t preset) {
    MxColorMixer& mixer = services.colorMixer();
    mixer.beginUse();
    mixer.Sred.setValue(getColorPart(preset, kRedMask));
    mixer.Sgreen.setValue(getColorPart(preset, kGreenMask));
    mixer.Sblue.setValue(getColorPart(preset, kBlueMask));
    mixer.updateColorPictures();
    if (platform::Window* main = services.mainWindow()) {
        mixer.setLeft(main->Left() + main->Width() / 2 - mixer.Width() / 2);
        mixer.setTop(main->Top() + main->Height() / 2 - mixer.Height() / 2);
    }
    mixer.Show(true);
    // Hidden without OK or Cancel (Closeall): the caller goes on as after Cancel.
    if (!mixer.closedByOk()) services.state().mixerColor = services.state().mixerOldColor;
    return services.state().mixerColor;
}

}  // namespace

uint32_t pickColor(EffectServices& services, uint32_t edited) {
    services.state().mixerOldColor = edited;
    return runMixer(services, edited);
}

uint32_t pickNewColor(EffectServices& services, uint32_t start) {
    return runMixer(services, start);
}

}  // namespace kavrel
