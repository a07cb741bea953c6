// The cost of one full mix per fade type, at 12 x 12 and 50 x 50, beside the
// same work done by a tight loop on plain arrays (bench/mix_reference.h).
// Both run in turns in one process on the same fader positions, so their
// ratio holds on a busy machine where the absolute times do not.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bench/mix_reference.h"
#include "core/mixer.h"
#include "core/shared_state.h"
#include "platform/runtime/random.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBatch = 16;  // mixes per timed run, so the clock's cost is lost

void fillBanks(kavrel::SharedState& s, platform::Random& rng) {
    for (int y = 0; y < s.matrixRows; ++y)
        for (int x = 0; x < s.matrixCols; ++x)
            for (int c = 0; c < 3; ++c) {
                s.bankA.frame.at(x, y, c) = static_cast<uint8_t>(rng.next() * 256);
                s.bankB.frame.at(x, y, c) = static_cast<uint8_t>(rng.next() * 256);
            }
}

// Red, green, blue per light, row by row.
std::vector<uint8_t> plainBytes(const kavrel::Frame& frame, int w, int h) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) bytes.push_back(frame.at(x, y, c));
    return bytes;
}

// The order in which the mixer switched lights at the last mix: a light
// showing bank B at a smaller position ranks first.
std::vector<int32_t> switchOrder(kavrel::SharedState& s, platform::Random& rng, int n) {
    std::vector<int32_t> rank(static_cast<size_t>(n), n);
    for (int k = n; k >= 1; --k) {
        kavrel::mixFrames(s, static_cast<double>(k) / n, 0, rng);
        for (int light = 0; light < n; ++light)
            if (s.mixMap.at(light % s.matrixCols, light / s.matrixCols) == 1.0f)
                rank[static_cast<size_t>(light)] = k - 1;
    }
    return rank;
}

double nextFader(double fader) {
    // A sweep, so that mask types switch lights as in a running fade.
    fader += 0.01;
    return fader > 1.0 ? 0.0 : fader;
}

void BM_MixMatrix(benchmark::State& st) {
    const int size = static_cast<int>(st.range(0));
    const auto type = static_cast<kavrel::FadeType>(st.range(1));
    const int n = size * size;
    kavrel::SharedState s;
    platform::Random rng(7);
    s.sizeGrid(size, size);
    fillBanks(s, rng);
    s.fadeType = static_cast<int16_t>(type);
    const uint32_t fadeColor = 0x0000FF00;
    const double middle[3] = {0, 255, 0};
    // Random keeps one order while the fader stays between the ends: the
    // reference takes the one the sweep below uses.
    s.fadeType = static_cast<int16_t>(kavrel::FadeType::Random);
    kavrel::mixFrames(s, 0.5, fadeColor, rng);
    s.fadeType = static_cast<int16_t>(type);
    bench::MixReference reference(
        plainBytes(s.bankA.frame, size, size), plainBytes(s.bankB.frame, size, size),
        type == kavrel::FadeType::Random ? s.randomRank : switchOrder(s, rng, n));

    // Both must make the same bytes, or the ratio means nothing.
    for (double f : {0.3, 0.5, 0.8}) {
        kavrel::mixFrames(s, f, fadeColor, rng);
        reference.mix(type, f, middle);
        if (plainBytes(s.frameM, size, size) != reference.out()) {
            st.SkipWithError("the reference mixes other bytes");
            return;
        }
    }

    double fader = 0.0, projectSeconds = 0.0, referenceSeconds = 0.0;
    for (auto _ : st) {
        const double from = fader;
        const auto t0 = Clock::now();
        for (int i = 0; i < kBatch; ++i) {
            fader = nextFader(fader);
            kavrel::mixFrames(s, fader, fadeColor, rng);
            benchmark::DoNotOptimize(s.frameM);
        }
        const auto t1 = Clock::now();
        fader = from;
        for (int i = 0; i < kBatch; ++i) {
            fader = nextFader(fader);
            reference.mix(type, fader, middle);
            benchmark::DoNotOptimize(reference.out());
        }
        const auto t2 = Clock::now();
        projectSeconds += std::chrono::duration<double>(t1 - t0).count();
        referenceSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    const double runs = static_cast<double>(st.iterations()) * kBatch;
    st.counters["mix_us"] = projectSeconds / runs * 1e6;
    st.counters["reference_us"] = referenceSeconds / runs * 1e6;
    st.counters["ratio"] = projectSeconds / referenceSeconds;
    st.SetLabel(std::string(kavrel::kFadeTypeNames[static_cast<size_t>(type)]));
}

void mixArgs(benchmark::internal::Benchmark* b) {
    for (int size : {12, 50})
        for (int type = 0; type < kavrel::kFadeTypeCount; ++type) b->Args({size, type});
}

}  // namespace

// Each iteration times kBatch mixes of each; the counters give one mix.
BENCHMARK(BM_MixMatrix)->Apply(mixArgs)->Unit(benchmark::kMicrosecond);
