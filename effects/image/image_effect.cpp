#include "effects/image/image_effect.h"

#include "core/record_copy.h"

namespace kavrel {

void ImageEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int, int) const {
    to.stretch = from.stretch;
    to.tile = from.tile;
    to.direction = from.direction;
    to.speed = from.speed;
    to.imageCount = from.imageCount;
    if (from.imageCount >= 1) {
        to.imageNames = copyCounted(from.imageNames, from.imageCount);
        to.durations = copyCounted(from.durations, from.imageCount);
        to.imagePaths = copyCounted(from.imagePaths, from.imageCount);
    }
    to.level = from.level;
}

}  // namespace kavrel
