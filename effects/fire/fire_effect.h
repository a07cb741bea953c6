#pragma once
// Fire: flickering flames between two colours.
#include "core/effect.h"

namespace kavrel {

class FireEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
