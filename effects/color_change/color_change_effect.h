#pragma once
// Color Change: a list of colours, each shown for its time scaled by the
// entry's speed, changing at once or through one of eight transitions, timed
// by the bank's step timer or by beats.
#include <memory>

#include "core/effect.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxColorChange;

// startColorChangeA / B: shows the first colour and starts the step timer
// (or waits for beats); an entry without colours blackens the bank and says so.
void startColorChange(BankContext& bank);
// stepColorChangeA / B: moves on to the next colour, at once or by arming
// the entry's transition.
void stepColorChange(BankContext& bank);
// A beat: the next colour at once, and the second timer started as the
// lock-out; only while that timer is stopped and with two or more colours.
void beatColorChange(BankContext& bank);

class ColorChangeEffect : public Effect {
  public:
    explicit ColorChangeEffect(EffectServices& services);
    ~ColorChangeEffect() override;

    void start(BankContext& bank) override;
    void step(BankContext& bank) override;
    void secondTick(BankContext& bank) override;
    void beat(BankContext& bank) override { beatColorChange(bank); }
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxColorChange>> editor_;
};

}  // namespace kavrel
