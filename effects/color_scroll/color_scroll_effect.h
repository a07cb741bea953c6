#pragma once
// Color Scroll: bands of colour scrolling across the matrix.
#include <cstdint>
#include <memory>

#include "core/effect.h"
#include "effects/common/editor_window.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxColorScroll;

inline constexpr const char* kScrollNotConfigured =
    "ColorScroll not configured ! Please edit effect !";

// The step interval at a speed: 0.8 x (speed - 100)^2 + 10 ms, rounded.
int32_t scrollInterval(int64_t speed);

// buildScrollStripA / B: the strip of the bank's running entry; with fewer
// than two colours the bank's step timer stops and the strip stays.
void buildScrollStrip(BankContext& bank);
// scrollColorsA / B: one step of the bank's running entry, then marks the
// bank changed and mixes.
void scrollColors(BankContext& bank);

class ColorScrollEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    explicit ColorScrollEffect(EffectServices& services);
    ~ColorScrollEffect() override;

    void choose(BankContext& bank, bool changed) override;
    void start(BankContext& bank) override;
    void step(BankContext& bank) override;
    void beat(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    // The type box chose Color Scroll for an entry that was one: its widths
    // sized to its colours, the strip rebuilt from position 0 (the diagonal
    // front goes on), started by its beat setting.
    void chooseAgain(BankContext& bank);

    std::unique_ptr<platform::FormSlot<MxColorScroll>> editor_;
    EditorRegistration editorHooks_;
};

}  // namespace kavrel
