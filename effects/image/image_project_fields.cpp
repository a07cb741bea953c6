// An Image entry's project-file lines and its defaults on a type change.
#include "core/bank_context.h"
#include "core/counted_fields.h"
#include "core/project_fields.h"
#include "effects/image/image_effect.h"
#include "effects/image/image_view.h"

namespace kavrel {

void ImageEffect::setDefaults(EffectRecord& entry, const BankState&, int, int) const {
    // The picture arrays stay behind the count of 0.
    entry.imageCount = 0;
    entry.speed = 50;
    entry.level = 0;
}

void ImageEffect::choose(BankContext& bank, bool) {
    // Chosen in the type box, the picture stands still: no timer runs.
    drawImage(bank);
    bank.stopTimers();
}

void ImageEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    out.whole(entry.stretch);
    out.whole(entry.tile);
    out.whole(entry.direction);
    out.whole(entry.speed);
    out.whole(entry.imageCount);
    for (int k = 0; k < entry.imageCount; ++k) {
        out.text(elementOr(entry.imageNames, k));
        out.number(elementOr(entry.durations, k));
        out.text(elementOr(entry.imagePaths, k));
    }
    out.whole(entry.level);
}

bool ImageEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    if (!(in.int16(entry.stretch) && in.int16(entry.tile) && in.int16(entry.direction) &&
          in.int16(entry.speed) && in.int16(entry.imageCount)))
        return false;
    const int n = entry.imageCount;
    if (n < 0) return in.fail("a negative count");
    if (n > 0) {
        startCounted(in.room(n, 3), entry.imageNames, entry.durations, entry.imagePaths);
        for (int k = 0; k < n; ++k) {
            std::string name;
            double duration = 0.0;
            std::string path;
            if (!(in.text(name) && in.number(duration) && in.text(path))) return false;
            entry.imageNames.push_back(std::move(name));
            entry.durations.push_back(duration);
            entry.imagePaths.push_back(std::move(path));
        }
        entry.imageNames.emplace_back();
        entry.durations.push_back(0.0);
        entry.imagePaths.emplace_back();
    }
    return in.int16(entry.level);
}

}  // namespace kavrel
