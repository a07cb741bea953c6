#include "effects/image/image_list_play.h"

#include "core/bank_context.h"
#include "effects/image/image_geometry.h"
#include "effects/image/image_view.h"

namespace kavrel {

std::string picturePath(const EffectRecord& entry, int64_t index) {
    if (index < 0 || index >= entry.imageCount) return {};
    const auto i = static_cast<size_t>(index);
    return i < entry.imagePaths.size() ? entry.imagePaths[i] : std::string();
}

double pictureDuration(const EffectRecord& entry, int64_t index) {
    if (index < 0 || index >= entry.imageCount) return 0.0;
    const auto i = static_cast<size_t>(index);
    return i < entry.durations.size() ? entry.durations[i] : 0.0;
}

bool loadBankPicture(BankContext& bank, const std::string& path) {
    return bank.image().loadPicture(path);
}

bool loadBankPictureOrSay(BankContext& bank, const std::string& path) {
    if (loadBankPicture(bank, path)) return true;
    bank.showMessage(kFileNotFound + path);
    return false;
}

void startImageEntry(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr || e->imageCount <= 0) return;
    bank.stepTimer().setInterval(imageStepInterval(e->speed));
    if (!loadBankPicture(bank, picturePath(*e, 0))) {
        // The list stays as stored (its pictures may come back); the bank
        // shows black instead of a stale picture.
        drawBlack(bank);
        return;
    }
    startImageScroll(bank);
    drawImage(bank);
    e = bank.entry();
    if (e != nullptr && e->imageCount > 1) {
        bank.secondTimer().setInterval(listIntervalExact(pictureDuration(*e, 0)));
        bank.state().imageIdx = 0;
        bank.secondTimer().setEnabled(true);
    }
}

void nextListPicture(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr || e->imageCount < 2) return;  // nothing to move on to
    BankState& s = bank.state();
    const int32_t idx = s.imageIdx >= 0 && s.imageIdx < e->imageCount - 1 ? s.imageIdx + 1 : 0;
    s.imageIdx = static_cast<int16_t>(idx);
    const std::string path = picturePath(*e, idx);
    if (!loadBankPicture(bank, path)) {
        // The list stops here; the stored list is kept.
        drawBlack(bank);
        bank.showMessage(kFileNotFound + path);
        return;
    }
    if (bank.isB()) {
        // Bank B starts the next picture at its top left corner.
        s.posX = 0;
        s.posY = 0;
    } else {
        startImageScroll(bank);
    }
    drawImage(bank);
    e = bank.entry();
    if (e == nullptr) return;
    bank.secondTimer().setInterval(listIntervalExact(pictureDuration(*e, idx)));
    bank.secondTimer().setEnabled(true);
}

void beatImage(BankContext& bank) {
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (e->imageCount >= 2) bank.secondTimer().setEnabled(true);
    scrollImage(bank);
}

}  // namespace kavrel
