#pragma once
// Color Change: a list of colours, each shown for its time, with transitions.
#include "core/effect.h"

namespace kavrel {

class ColorChangeEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
