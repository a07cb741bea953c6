#include "effects/paint/paint_effect.h"

#include "core/bank_context.h"
#include "core/light_painter.h"

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

void PaintEffect::copyForPaste(const EffectRecord& from, EffectRecord& to, int cols,
                               int rows) const {
    to.pixels.assign(cols, rows, 0u);
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) to.pixels.set(x, y, from.pixels.get(x, y, 0u));
}

}  // namespace kavrel
