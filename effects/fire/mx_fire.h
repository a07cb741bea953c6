#pragma once
// The Fire editor "Fire": the entry's name, its two colours, the flame
// height and the speed, each written into the entry at once. The edit
// buttons confirm it and Closeall hides it.
#include "effects/common/colour_pair_editor.h"

namespace kavrel {

class MxFire : public ColourPairEditor {
  public:
    MxFire(platform::Desktop& desktop, EffectServices& services);

  private:
    void layoutControls();
    int32_t speedInterval(int16_t speed) const override;
    // A new colour shows in a new frame at once.
    void colourChanged(BankContext& bank) override;
};

}  // namespace kavrel
