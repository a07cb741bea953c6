#include "core/shared_state.h"

#include <algorithm>

namespace kavrel {

namespace {

bool validIndex(int16_t index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) < size;
}

// Grows a painted picture to the grid; a larger picture keeps its size so that
// shrinking the grid loses nothing.
void growPixels(EffectRecord& record, int cols, int rows) {
    record.pixels.resize(std::max(record.pixels.cols(), cols),
                         std::max(record.pixels.rows(), rows));
}

}  // namespace

EffectRecord* BankState::currentEffect() {
    return validIndex(curEff, eff.size()) ? &eff[static_cast<size_t>(curEff)] : nullptr;
}

const EffectRecord* BankState::currentEffect() const {
    return validIndex(curEff, eff.size()) ? &eff[static_cast<size_t>(curEff)] : nullptr;
}

SharedState::SharedState() {
    dmxSent.fill(-1);
    sizeGrid(matrixCols, matrixRows);
}

int SharedState::gridCols() const {
    return std::clamp<int>(matrixCols, 0, kMaxGrid);
}
int SharedState::gridRows() const {
    return std::clamp<int>(matrixRows, 0, kMaxGrid);
}

void SharedState::sizeGrid(int cols, int rows) {
    cols = std::clamp(cols, kMinGrid, kMaxGrid);
    rows = std::clamp(rows, kMinGrid, kMaxGrid);
    matrixCols = static_cast<int16_t>(cols);
    matrixRows = static_cast<int16_t>(rows);

    for (Frame* f : {&bankA.frame, &bankA.shadow, &bankB.frame, &bankB.shadow, &frameM, &shadowM,
                     &dxSimDrawn, &extSimSent})
        f->resize(cols, rows);

    mixMap.assign(cols, rows, 0.0f);
    randomRankStale = true;
    cellConfigured.assign(cols, rows, true);

    // Lights row by row from the top left, three channels each from address 1.
    channelMap.assign(cols, rows, LightChannels{0, 0, 0});
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const int32_t red = 3 * (y * cols + x) + 1;
            channelMap.at(x, y) = LightChannels{red, red + 1, red + 2};
        }

    for (BankState* b : {&bankA, &bankB})
        for (EffectRecord& record : b->eff) growPixels(record, cols, rows);
    growPixels(copyBuffer, cols, rows);
}

}  // namespace kavrel
