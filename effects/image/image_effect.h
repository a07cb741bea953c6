#pragma once
// Image: a list of pictures, each shown for its time, stretched, tiled or scrolled.
#include "core/effect.h"

namespace kavrel {

class ImageEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
