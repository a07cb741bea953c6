#pragma once
// Color: every light of the bank shows the entry's color1.
#include "core/effect.h"
#include "effects/common/fill_color.h"

namespace kavrel {

class ColorEffect : public Effect {
  public:
    void start(BankContext& bank) override { fillColor(bank); }
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
