#pragma once
// BeamShow: up to four laser-like beams moving over a background colour.
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
class MxLaser;

// The step interval at a speed: 0.4 x (speed - 100)^2 + 10 ms, rounded.
int32_t beamInterval(int64_t speed);

// drawBeamShowA / B: one frame of the bank's running entry, then marks the
// bank changed and mixes.
void drawBeamShow(BankContext& bank);

// A BeamShow is pasted with its beams (colours and kinds 0 to 4), its
// background, speed, level and beat.
class BeamShowEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    explicit BeamShowEffect(EffectServices& services);
    ~BeamShowEffect() override;

    void start(BankContext& bank) override;
    // The type box: the beams go on from where they are; the step timer
    // follows the entry's beat setting.
    void choose(BankContext& bank, bool changed) override;
    void step(BankContext& bank) override;
    void beat(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxLaser>> editor_;
    EditorRegistration editorHooks_;
};

}  // namespace kavrel
