#pragma once
// Fluid: flowing liquid between two colours in one of four directions.
#include "core/effect.h"

namespace kavrel {

class FluidEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
