#pragma once
// Fluid: flowing liquid between two colours in one of four directions.
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
class MxWater;

// The step interval at a speed: 0.4 x (speed - 100)^2 + 10 ms, rounded.
int32_t fluidInterval(int64_t speed);

// drawFluidA / B: one step of the bank's running entry; with `redraw` the
// bank is marked changed and mixed.
void drawFluid(BankContext& bank, bool redraw);

class FluidEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    explicit FluidEffect(EffectServices& services);
    ~FluidEffect() override;

    void start(BankContext& bank) override;
    // The type box: primed like a start, then run on the step timer whatever
    // the entry's beat setting; the bank's beat flag stays as it is.
    void choose(BankContext& bank, bool changed) override;
    void step(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void beat(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxWater>> editor_;
    EditorRegistration editorHooks_;
};

}  // namespace kavrel
