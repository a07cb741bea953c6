#pragma once
// Color: every light of the bank shows the entry's color1.
#include <memory>

#include "core/effect.h"
#include "effects/common/fill_color.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxColorForm;

class ColorEffect : public Effect {
  public:
    explicit ColorEffect(EffectServices& services);
    ~ColorEffect() override;

    void start(BankContext& bank) override { fillColor(bank); }
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<platform::FormSlot<MxColorForm>> editor_;
};

}  // namespace kavrel
