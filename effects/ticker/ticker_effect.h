#pragma once
// Ticker: running text in the pixel font or a system font.
#include "core/effect.h"

namespace kavrel {

class TickerEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
