// A Paint entry's project-file lines and its defaults on a type change.
#include <algorithm>

#include "core/bank_context.h"
#include "core/project_fields.h"
#include "core/shared_state.h"
#include "effects/paint/paint_effect.h"

namespace kavrel {

void PaintEffect::setDefaults(EffectRecord& entry, const BankState& bank, int cols,
                              int rows) const {
    // The new picture is the one the bank shows; the spare column and row
    // keep what they held.
    entry.pixels.resize(cols, rows, 0u);
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) entry.pixels.set(x, y, bank.frame.rgb(x, y));
}

void PaintEffect::choose(BankContext& bank, bool) {
    // The picture follows the grid in force, keeping the cells it held.
    if (EffectRecord* entry = bank.entry()) entry->pixels.resize(bank.cols(), bank.rows(), 0u);
    drawPaint(bank);
}

void PaintEffect::writeFields(const EffectRecord& entry, FieldWriter& out) const {
    // Always the grid in force; cells the picture does not hold are black.
    out.pair(out.cols(), out.rows());
    for (int x = 0; x < out.cols(); ++x)
        for (int y = 0; y < out.rows(); ++y) out.color(entry.pixels.get(x, y, 0u));
}

bool PaintEffect::readFields(EffectRecord& entry, FieldReader& in) const {
    int16_t w = 0;
    int16_t h = 0;
    if (!in.pair(w, h)) return false;
    if (w < 0 || h < 0) return in.fail("a negative picture size");
    // Only the saved part of the grid in force: a picture is trusted no
    // further than its lines. Cells it does not hold are black, as the
    // picture is grown to the grid when its entry starts or is edited.
    entry.pixels.assign(std::min<int>(w, in.cols()), std::min<int>(h, in.rows()), 0u);
    // Every saved cell is read; those outside the grid in force are dropped.
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            uint32_t c = 0;
            if (!in.color(c)) return false;
            if (x < in.cols() && y < in.rows()) entry.pixels.at(x, y) = c;
        }
    return true;
}

}  // namespace kavrel
