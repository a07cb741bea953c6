#pragma once
// Image: a list of pictures, each shown for its time, stretched, tiled or scrolled.
#include <memory>

#include "core/effect.h"

namespace kavrel {

class EffectServices;
class ImageEditing;

class ImageEffect : public Effect {
  public:
    explicit ImageEffect(EffectServices& services);
    ~ImageEffect() override;

    void start(BankContext& bank) override;
    void step(BankContext& bank) override;
    void secondTick(BankContext& bank) override;
    void beat(BankContext& bank) override;
    void edit(BankContext& bank) override;
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

  private:
    std::unique_ptr<ImageEditing> editing_;
};

}  // namespace kavrel
