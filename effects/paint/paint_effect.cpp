#include "effects/paint/paint_effect.h"

#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/light_painter.h"
#include "effects/paint/mx_pic_form.h"
#include "effects/paint/paint_tools.h"
#include "platform/windows/desktop.h"

namespace kavrel {

void renderPaint(BankState& bank, int cols, int rows) {
    const EffectRecord* entry = bank.currentEffect();
    if (entry == nullptr) return fillLights(bank.frame, cols, rows, 0u);
    const Grid2D<uint32_t>& pixels = entry->pixels;
    paintLights(bank.frame, cols, rows, [&pixels](int x, int y) { return pixels.get(x, y, 0u); });
}

void drawPaint(BankContext& bank) {
    renderPaint(bank.state(), bank.cols(), bank.rows());
    bank.showFrame();
}

void choosePaint(BankContext& bank, bool typeChanged) {
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    coverGrid(entry->pixels, bank.cols(), bank.rows());
    if (typeChanged) takeFrame(entry->pixels, bank.state().frame, bank.cols(), bank.rows());
    drawPaint(bank);
}

PaintEffect::PaintEffect() = default;

PaintEffect::PaintEffect(EffectServices& services)
    : editor_(std::make_unique<platform::FormSlot<MxPicForm>>(services.desktop(), "MxPicForm",
                                                              services)) {
    platform::FormSlot<MxPicForm>* slot = editor_.get();
    hook_ = services.editors().add(
        EditorHook{"MxPicForm", [slot]() -> platform::Window* { return slot->peek(); },
                   [slot] {
                       if (MxPicForm* form = slot->peek()) form->OK_Click();
                   },
                   true, true});
    // The editor hides as soon as its entry stops being current.
    entryWatch_ = services.editors().addEntryWatch([slot] {
        if (MxPicForm* form = slot->peek(); form != nullptr && form->Visible()) form->editedEntry();
    });
}

PaintEffect::~PaintEffect() = default;

MxPicForm* PaintEffect::editor() {
    return editor_ ? &editor_->get() : nullptr;
}

void PaintEffect::edit(BankContext& bank) {
    if (MxPicForm* form = editor()) form->openFor(bank);
}

void PaintEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                               int rows) const {
    to.pixels.assign(cols, rows, 0u);
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) to.pixels.set(x, y, from.pixels.get(x, y, 0u));
}

}  // namespace kavrel
