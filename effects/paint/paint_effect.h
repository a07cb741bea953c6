#pragma once
// Paint: every light shows its own painted colour from the entry's pixels.
#include <memory>

#include "core/effect.h"
#include "core/shared_state.h"

namespace platform {
template <class T>
class FormSlot;
}

namespace kavrel {

class EffectServices;
class MxPicForm;

// Copies the running entry's painted pixels into the bank frame; lights the
// picture does not cover, and a bank without a valid running entry, are
// black. Neither marks nor mixes.
void renderPaint(BankState& bank, int cols, int rows);
// drawPaintA / drawPaintB: renders, marks the bank changed and mixes.
void drawPaint(BankContext& bank);
// The bank's type box chose Paint for the running entry: its picture grows
// to the grid keeping what it holds, takes a copy of the bank frame when the
// type really changed, and is drawn.
void choosePaint(BankContext& bank, bool typeChanged);

class PaintEffect : public Effect {
  public:
    // Without services the type has no editor (tests of the rendering alone).
    PaintEffect();
    explicit PaintEffect(EffectServices& services);
    ~PaintEffect() override;

    void start(BankContext& bank) override { drawPaint(bank); }
    // Opens the editor "Painting" on the bank's running entry.
    void edit(BankContext& bank) override;
    // The picture is taken at the grid size of the moment.
    void copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                      int rows) const override;

    // The editor, made and loaded on first use; null without services.
    MxPicForm* editor();

  private:
    std::unique_ptr<platform::FormSlot<MxPicForm>> editor_;
};

}  // namespace kavrel
