#include "effects/image/image_editing.h"

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "effects/image/mx_image_form.h"
#include "effects/image/mx_image_list.h"
#include "platform/windows/desktop.h"

namespace kavrel {

ImageEditing::ImageEditing(EffectServices& services) : services_(services) {
    platform::Desktop& desktop = services.desktop();
    formSlot_ = std::make_unique<platform::FormSlot<MxImageForm>>(desktop, "MxImageForm", *this);
    listSlot_ = std::make_unique<platform::FormSlot<MxImageList>>(desktop, "MxImageList", *this);
    // The edit buttons confirm the image editor and Closeall hides it; the
    // list window is left to the editor's OK.
    hook_ = services.editors().add(EditorHook{"MxImageForm", [this] { return peekForm(); },
                                              [this] {
                                                  if (MxImageForm* f = peekForm()) f->OK_Click();
                                              },
                                              true, true});
    // The windows hide as soon as their entry stops being current.
    entryWatch_ = services.editors().addEntryWatch([this] {
        if (MxImageForm* f = peekForm(); f != nullptr && f->Visible()) bank();
    });
}

// The windows go before anything they refer to.
ImageEditing::~ImageEditing() {
    listSlot_.reset();
    formSlot_.reset();
}

void ImageEditing::pin(BankContext& bank) {
    bank_ = bank.id();
    index_ = bank.state().curEff;
}

BankContext* ImageEditing::bank() {
    BankContext* b = bank_ ? services_.bank(*bank_) : nullptr;
    const EffectRecord* e = b != nullptr ? b->entry() : nullptr;
    if (e == nullptr || b->state().curEff != index_ ||
        e->type != static_cast<int16_t>(EffectType::Image)) {
        hideAll();
        return nullptr;
    }
    return b;
}

EffectRecord* ImageEditing::entry() {
    BankContext* b = bank();
    return b != nullptr ? b->entry() : nullptr;
}

void ImageEditing::hideAll() {
    if (MxImageList* l = peekList(); l != nullptr && l->Visible()) l->Hide();
    if (MxImageForm* f = peekForm(); f != nullptr && f->Visible()) f->Hide();
}

MxImageForm& ImageEditing::form() {
    return formSlot_->get();
}
MxImageList& ImageEditing::list() {
    return listSlot_->get();
}
MxImageForm* ImageEditing::peekForm() {
    return formSlot_->peek();
}
MxImageList* ImageEditing::peekList() {
    return listSlot_->peek();
}

}  // namespace kavrel
