#include "effects/ticker/ticker_effect.h"

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/light_painter.h"
#include "effects/ticker/font_descriptor.h"
#include "effects/ticker/mx_ticker_form.h"
#include "effects/ticker/ticker_step.h"
#include "platform/runtime/convert.h"
#include "platform/windows/desktop.h"

namespace kavrel {

int32_t tickerInterval(int16_t speed) {
    const double d = static_cast<double>(int32_t{speed} - 100);
    return platform::toInt32(0.4 * d * d + 10.0).value_or(0);
}

TickerEffect::TickerEffect(EffectServices& services)
    : services_(services),
      formSlot_(std::make_unique<platform::FormSlot<MxTickerForm>>(
          services.desktop(), "MxTickerForm", services, *this)) {
    EditorHook hook;
    hook.name = "MxTickerForm";
    hook.peek = [this]() -> platform::Window* { return peekForm(); };
    hook.ok = [this] {
        if (MxTickerForm* f = peekForm()) f->OK_Click();
    };
    hook.hiddenByCloseall = false;
    hook_ = services.editors().add(std::move(hook));
    // The editor hides as soon as its entry stops being current.
    entryWatch_ = services.editors().addEntryWatch([this] {
        if (MxTickerForm* f = peekForm()) f->dropIfStale();
    });
}

// The editor window goes before the module it calls.
TickerEffect::~TickerEffect() {
    formSlot_.reset();
}

MxTickerForm& TickerEffect::form() {
    return formSlot_->get();
}

MxTickerForm* TickerEffect::peekForm() const {
    return formSlot_->peek();
}

void TickerEffect::takeEntrySettings(BankState& bank, EffectRecord& entry) {
    const bool systemFont = entry.font != kPixelFontName;
    takeEntryFont(entry, bank);
    if (systemFont) form().myFontBox.setEnabled(true);
}

void TickerEffect::start(BankContext& bank) {
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    takeEntryFont(*entry, bank.state());
    run(bank);
}

void TickerEffect::choose(BankContext& bank, bool) {
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    takeEntrySettings(bank.state(), *entry);
    run(bank);
}

void TickerEffect::run(BankContext& bank) {
    if (MxTickerForm* f = peekForm()) f->dropIfStale();
    const EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    // The interval goes in before the build switches the timer on: a timer
    // started with the previous entry's period would hold its first step that
    // long, and a running timer takes a new interval only after its next tick.
    bank.stepTimer().setInterval(tickerInterval(entry->speed));
    initTicker(bank);
}

void TickerEffect::initTicker(BankContext& bank) {
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    BankState& s = bank.state();
    TickerShape& shape = shapes_[bank.isB() ? 1 : 0];
    bank.stepTimer().setEnabled(false);
    s.step = 0;
    fillLights(s.frame, bank.cols(), bank.rows(), entry->color2);
    bank.showFrame();

    if (entry->font == kPixelFontName) {
        buildPixelStrip(s, shape, font_, *entry);
    } else if (!buildSystemStrip(s, shape, *entry, bank.mini(),
                                 services_.desktop().textRasterizer(), bank.cols(), bank.rows())) {
        // Nothing of an earlier strip may show for this entry.
        clearStrip(s, shape);
        bank.showMessage(kFontTooSmall);
        entry = bank.entry();
        if (entry == nullptr) return;
    }
    placeStrip(s, shape, *entry, bank.cols(), bank.rows());
    stepTicker(bank);
    if (entry->beat == 0) bank.stepTimer().setEnabled(true);
}

void TickerEffect::stepTicker(BankContext& bank) {
    const EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    stepTickerFrame(bank.state(), shapes_[bank.isB() ? 1 : 0], *entry, bank.cols(), bank.rows());
    bank.showFrame();
}

void TickerEffect::step(BankContext& bank) {
    stepTicker(bank);
    bank.stepTimer().setEnabled(true);
}

void TickerEffect::beat(BankContext& bank) {
    // The second timer locks out beats until its next tick stops it.
    if (bank.secondTimer().Enabled()) return;
    bank.secondTimer().setEnabled(true);
    stepTicker(bank);
}

void TickerEffect::edit(BankContext& bank) {
    form().fillFrom(bank);
}

void TickerEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.color1 = from.color1;
    to.color2 = from.color2;
    to.speed = from.speed;
    to.level = from.level;
    to.text = from.text;
    to.font = from.font;
    to.direction = from.direction;
    to.backward = from.backward;
    to.mirror = from.mirror;
    to.beat = from.beat;
    to.letterMode = from.letterMode;
}

}  // namespace kavrel
