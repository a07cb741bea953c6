#include "effects/image/image_effect.h"

#include "core/bank_context.h"
#include "core/record_copy.h"
#include "effects/image/image_editing.h"
#include "effects/image/image_list_play.h"
#include "effects/image/image_view.h"
#include "effects/image/mx_image_form.h"

namespace kavrel {

ImageEffect::ImageEffect(EffectServices& services)
    : editing_(std::make_unique<ImageEditing>(services)) {}

ImageEffect::~ImageEffect() = default;

void ImageEffect::start(BankContext& bank) {
    startImageEntry(bank);
}

void ImageEffect::step(BankContext& bank) {
    scrollImage(bank);
    bank.stepTimer().setEnabled(true);
}

void ImageEffect::secondTick(BankContext& bank) {
    nextListPicture(bank);
}

void ImageEffect::beat(BankContext& bank) {
    beatImage(bank);
}

void ImageEffect::edit(BankContext& bank) {
    MxImageForm& form = editing_->form();
    form.fill(bank);
    // Beside the main window's right edge, where it does not cover the banks.
    if (platform::Window* main = bank.services().mainWindow()) {
        form.setLeft(main->Left() + main->Width() - form.Width());
        form.setTop(main->Top());
    }
    if (editing_->entry() != nullptr) form.Show();
}

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
