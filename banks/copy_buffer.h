#pragma once
// What the copy buttons keep of an entry: its name and type and the fields
// that pasting takes for that type (each effect type says which).
#include "core/effect.h"
#include "core/effect_record.h"

namespace kavrel {

// A record holding only what pasting reads: arrays dimensioned 0 to their
// count (one spare) and filled 0 to count - 1, a Paint picture at the cols x
// rows grid. Short source arrays give zeros and empty texts. A type without
// a module keeps only name and type.
EffectRecord copyForPaste(const EffectRegistry& effects, const EffectRecord& entry, int cols,
                          int rows);

}  // namespace kavrel
