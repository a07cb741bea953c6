// The cost of one full mix per fade type, at 12 x 12 and 50 x 50.
#include <benchmark/benchmark.h>

#include "core/mixer.h"
#include "core/shared_state.h"
#include "platform/random.h"

namespace {

void fillBanks(kavrel::SharedState& s, platform::Random& rng) {
    for (int y = 0; y < s.matrixRows; ++y)
        for (int x = 0; x < s.matrixCols; ++x)
            for (int c = 0; c < 3; ++c) {
                s.bankA.frame.at(x, y, c) = static_cast<uint8_t>(rng.next() * 256);
                s.bankB.frame.at(x, y, c) = static_cast<uint8_t>(rng.next() * 256);
            }
}

void BM_MixMatrix(benchmark::State& st) {
    const int size = static_cast<int>(st.range(0));
    const auto type = static_cast<int16_t>(st.range(1));
    kavrel::SharedState s;
    platform::Random rng(7);
    s.sizeGrid(size, size);
    fillBanks(s, rng);
    s.fadeType = type;
    double fader = 0.0;
    for (auto _ : st) {
        // Sweep the fader so mask types switch lights as in a running fade.
        fader += 0.01;
        if (fader > 1.0) fader = 0.0;
        kavrel::mixFrames(s, fader, 0x0000FF00, rng);
        benchmark::DoNotOptimize(s.frameM);
    }
    st.SetLabel(std::string(kavrel::kFadeTypeNames[static_cast<size_t>(type)]));
}

void mixArgs(benchmark::internal::Benchmark* b) {
    for (int size : {12, 50})
        for (int type = 0; type < kavrel::kFadeTypeCount; ++type) b->Args({size, type});
}

}  // namespace

BENCHMARK(BM_MixMatrix)->Apply(mixArgs);
