#pragma once
// Color: every light of the bank shows the entry's color1.
#include "core/effect.h"
#include "core/shared_state.h"

namespace kavrel {

// Paints the bank's running entry's color1 into its frame; a bank without a
// valid running entry is painted black. Neither marks nor mixes.
void renderColor(BankState& bank, int cols, int rows);
// fillColorA / fillColorB: renders, marks the bank changed and mixes.
void fillColor(BankContext& bank);

class ColorEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void start(BankContext& bank) override { fillColor(bank); }
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
