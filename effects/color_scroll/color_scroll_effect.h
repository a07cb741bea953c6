#pragma once
// Color Scroll: bands of colour scrolling across the matrix.
#include "core/effect.h"

namespace kavrel {

class ColorScrollEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void choose(BankContext& bank, bool changed) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
