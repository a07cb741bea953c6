#pragma once
// Fire: flickering flames between two colours.
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
class MxFire;

// The step interval at a speed: 0.4 x (speed - 100)^2 + 10 ms, rounded.
int32_t fireInterval(int64_t speed);

// drawFireA / B: one frame of the bank's running entry; with `redraw` the
// bank is marked changed and mixed. At level 0 or less the frame is black
// and the pane keeps its record, so it repaints to black.
void drawFire(BankContext& bank, bool redraw);

class FireEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    explicit FireEffect(EffectServices& services);
    ~FireEffect() override;

    void start(BankContext& bank) override;
    // The type box: a new Fire starts from black, one chosen again keeps its
    // flames; ten frames are rendered and the last one shown.
    void choose(BankContext& bank, bool changed) override;
    void step(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxFire>> editor_;
    EditorRegistration editorHooks_;
};

}  // namespace kavrel
