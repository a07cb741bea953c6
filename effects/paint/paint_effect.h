#pragma once
// Paint: every light shows its own painted colour from the entry's pixels.
#include "core/effect.h"
#include "core/shared_state.h"

namespace kavrel {

// Copies the running entry's painted pixels into the bank frame; lights the
// picture does not cover, and a bank without a valid running entry, are
// black. Neither marks nor mixes.
void renderPaint(BankState& bank, int cols, int rows);
// drawPaintA / drawPaintB: renders, marks the bank changed and mixes.
void drawPaint(BankContext& bank);

class PaintEffect : public Effect {
  public:
    KAVREL_PROJECT_FIELDS;
    void choose(BankContext& bank, bool changed) override;
    void start(BankContext& bank) override { drawPaint(bank); }
    // The picture is taken at the grid size of the moment.
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;
};

}  // namespace kavrel
