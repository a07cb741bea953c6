#pragma once
// BeamShow: up to four laser-like beams moving over a background colour.
#include "core/effect.h"

namespace kavrel {

// Pasting takes only a BeamShow entry's name and type.
class BeamShowEffect : public Effect {};

}  // namespace kavrel
