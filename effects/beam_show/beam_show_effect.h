#pragma once
// BeamShow: up to four laser-like beams moving over a background colour.
#include "core/effect.h"

namespace kavrel {

class BeamShowEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    // A BeamShow is pasted with its beams (colours and kinds 0 to 4), its
    // background, speed, level and beat.
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
