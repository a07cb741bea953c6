#include "banks/copy_buffer.h"

namespace kavrel {

EffectRecord copyForPaste(const EffectRegistry& effects, const EffectRecord& entry, int cols,
                          int rows) {
    EffectRecord c;
    c.name = entry.name;
    c.type = entry.type;
    if (const Effect* effect = effects.find(entry.type)) effect->copyForPaste(entry, c, cols, rows);
    return c;
}

}  // namespace kavrel
