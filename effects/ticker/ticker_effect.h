#pragma once
// Ticker: running text in the pixel font or a system font, scrolled in four
// directions or shown letter by letter, stepped by its timer or by beats.
#include <array>
#include <memory>

#include "core/editor_hooks.h"
#include "core/effect.h"
#include "effects/ticker/font_definition.h"
#include "effects/ticker/ticker_strip.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxTickerForm;

// The step interval of a speed, CLng(0.4 * (speed - 100)^2 + 10) ms.
int32_t tickerInterval(int16_t speed);

class TickerEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    explicit TickerEffect(EffectServices& services);
    ~TickerEffect() override;

    void mainWindowLoad() override { font_.initFont(); }
    // The entry's font into the bank's font variables; a system font (or
    // "WindowsFont") also enables the editor's font-dialog button, making the
    // editor hidden if need be without touching any entry.
    void takeEntrySettings(BankState& bank, EffectRecord& entry) override;
    void start(BankContext& bank) override;
    void choose(BankContext& bank, bool changed) override;
    void step(BankContext& bank) override;
    void beat(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

    // initTickerA / initTickerB: clears the bank to the background, builds the
    // strip of the running entry, places it, shows the first step and starts
    // the step timer unless the entry is beat-driven.
    void initTicker(BankContext& bank);
    // stepTickerA / stepTickerB: one step, then the bank is marked and mixed.
    void stepTicker(BankContext& bank);

    const FontDefinition& font() const { return font_; }
    const TickerShape& shape(bool bankB) const { return shapes_[bankB ? 1 : 0]; }
    MxTickerForm& form();
    MxTickerForm* peekForm() const;

  private:
    // Sets the step interval from the entry's speed, then builds and runs the
    // entry once its font variables are set.
    void run(BankContext& bank);

    EffectServices& services_;
    FontDefinition font_;
    std::array<TickerShape, 2> shapes_{};
    std::unique_ptr<platform::FormSlot<MxTickerForm>> formSlot_;
    EditorHooks::Registration hook_;
    EditorHooks::Registration entryWatch_;
};

}  // namespace kavrel
