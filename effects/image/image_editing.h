#pragma once
// What the Image editors of one plug-in instance share: the entry they were
// opened on (its bank and record index) and their two windows. An editor
// works on that entry only; once it is no longer its bank's running Image
// entry the editors hide and write nothing more.
#include <cstdint>
#include <memory>
#include <optional>

#include "core/bank_id.h"
#include "core/effect_record.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class BankContext;
class EffectServices;
class MxImageForm;
class MxImageList;

class ImageEditing {
  public:
    explicit ImageEditing(EffectServices& services);
    ~ImageEditing();
    ImageEditing(const ImageEditing&) = delete;
    ImageEditing& operator=(const ImageEditing&) = delete;

    EffectServices& services() { return services_; }

    // The edit button opened the editor on the bank's running entry.
    void pin(BankContext& bank);
    // The edited entry's bank and the entry while it is still the bank's
    // running Image entry; otherwise the editors hide and these give null.
    BankContext* bank();
    EffectRecord* entry();
    int16_t recordIndex() const { return index_; }

    MxImageForm& form();
    MxImageList& list();
    MxImageForm* peekForm();
    MxImageList* peekList();

  private:
    void hideAll();

    EffectServices& services_;
    std::optional<BankId> bank_;
    int16_t index_ = -1;
    std::unique_ptr<platform::FormSlot<MxImageForm>> formSlot_;
    std::unique_ptr<platform::FormSlot<MxImageList>> listSlot_;
};

}  // namespace kavrel
