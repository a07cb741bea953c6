#pragma once
// Gradient: color1 to color2 across the matrix in one of ten directions
// (docs/mixing.md gives the formulas).
#include <cstdint>
#include <memory>

#include "core/effect.h"
#include "core/shared_state.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxGradientForm;

// Gradient directions of an entry's `direction` field.
enum class GradientDirection : int16_t {
    Up = 1,
    UpLeft = 2,
    Left = 3,
    DownLeft = 4,
    Down = 5,
    DownRight = 6,
    Right = 7,
    UpRight = 8,
    CentreOut = 9,
    CentreIn = 10,
};

inline constexpr const char* kBadGradientDirection = "direction not correct !";

// Draws the running entry's gradient into the bank frame (a bank without a
// valid running entry is drawn black). Any direction outside 1..10 leaves
// the frame as it is and gives false. Neither marks nor mixes.
bool renderGradient(BankState& bank, int cols, int rows);
// drawGradientA / drawGradientB: renders, marks the bank changed and mixes;
// a bad direction is reported and leaves the bank as it is.
void drawGradient(BankContext& bank);

class GradientEffect : public Effect {
  public:
    explicit GradientEffect(EffectServices& services);
    ~GradientEffect() override;

    void start(BankContext& bank) override { drawGradient(bank); }
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxGradientForm>> editor_;
};

}  // namespace kavrel
