#include "core/mixer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/byte_rounding.h"
#include "core/colors.h"
#include "core/mix_formulas.h"

namespace kavrel {

namespace {

double clampUnit(double v) {
    if (!(v > 0.0)) return 0.0;  // NaN too
    return v >= 1.0 ? 1.0 : v;
}

FadeType typeOf(int16_t code) {
    if (code < 0 || code >= kFadeTypeCount) return FadeType::CrossFade;
    return static_cast<FadeType>(code);
}

// The ColorFade middle colour by component (red, green, blue).
struct Middle {
    double c[3];
};

Middle middleOf(uint32_t fadeColor) {
    return {{static_cast<double>(getColorPart(fadeColor, kRedMask)),
             static_cast<double>(getColorPart(fadeColor, kGreenMask)),
             static_cast<double>(getColorPart(fadeColor, kBlueMask))}};
}

// One light (x, y), every access checked: for mixCell, and for mixFrames on
// frames that do not cover the grid.
template <typename Formula>
void blendLight(SharedState& s, int x, int y, const Middle& mid, const Formula& formula) {
    const Frame& A = s.bankA.frame;
    const Frame& B = s.bankB.frame;
    uint8_t out[3];
    for (int c = 0; c < 3; ++c)
        out[c] = roundToByte(formula(A.get(x, y, c), B.get(x, y, c), mid.c[c]));
    s.frameM.setRgb(x, y, out[0], out[1], out[2]);
}

// Every light of a w x h grid that all three frames cover, row by row over
// contiguous bytes. The spare component is left as it is. The formulas on
// bytes stay within -510..765, so the bounded rounding applies.
template <typename Formula>
[[gnu::always_inline]] inline void blendRowsBody(const Frame& A, const Frame& B, Frame& M, int w,
                                                 int h, const Middle& mid, const Formula& formula) {
    const int end = w * Frame::kComponents;
    for (int y = 0; y < h; ++y) {
        const uint8_t* __restrict a = A.row(y);
        const uint8_t* __restrict b = B.row(y);
        uint8_t* __restrict m = M.row(y);
        for (int i = 0; i < end; i += Frame::kComponents) {
            m[i] = roundBoundedToByte(formula(a[i], b[i], mid.c[0]));
            m[i + 1] = roundBoundedToByte(formula(a[i + 1], b[i + 1], mid.c[1]));
            m[i + 2] = roundBoundedToByte(formula(a[i + 2], b[i + 2], mid.c[2]));
        }
    }
}

// The same loop compiled for processors with AVX2, whose wider vectors double
// the lights per instruction; the doubles computed are the same.
template <typename Formula>
[[gnu::target("avx2")]] void blendRowsAvx2(const Frame& A, const Frame& B, Frame& M, int w, int h,
                                           const Middle& mid, const Formula& formula) {
    blendRowsBody(A, B, M, w, h, mid, formula);
}

template <typename Formula>
void blendRows(const Frame& A, const Frame& B, Frame& M, int w, int h, const Middle& mid,
               const Formula& formula) {
    if (__builtin_cpu_supports("avx2")) return blendRowsAvx2(A, B, M, w, h, mid, formula);
    blendRowsBody(A, B, M, w, h, mid, formula);
}

// Copies the colour of lights x0 <= x < x1 of one row, spare component aside.
void copyLights(const uint8_t* from, uint8_t* to, int x0, int x1) {
    for (int i = x0 * Frame::kComponents; i < x1 * Frame::kComponents; i += Frame::kComponents) {
        to[i] = from[i];
        to[i + 1] = from[i + 1];
        to[i + 2] = from[i + 2];
    }
}

// A new switching order for Random: a uniform permutation of the ranks.
void drawRandomRanks(SharedState& s, int n, platform::Random& rng) {
    s.randomRank.resize(static_cast<size_t>(n));
    std::iota(s.randomRank.begin(), s.randomRank.end(), 0);
    for (int i = n - 1; i > 0; --i) {
        const double r = clampUnit(rng.next());
        const int j = std::min(i, static_cast<int>(std::floor(r * (i + 1))));
        std::swap(s.randomRank[static_cast<size_t>(i)], s.randomRank[static_cast<size_t>(j)]);
    }
}

// Lights x0 <= x < x1 of a row show bank B.
struct Span {
    int x0, x1;
};

// The lights of row y that show bank B when the first k (0 < k < w * h) in the
// switching order of a wipe or snake type do. Each type switches a row's
// lights from one end, so they always form one span.
Span switchedSpan(FadeType type, int64_t k, int y, int w, int h) {
    const auto fromLeft = [](int64_t count, int width) {
        return Span{0, static_cast<int>(std::clamp<int64_t>(count, 0, width))};
    };
    const auto fromRight = [](int64_t count, int width) {
        return Span{width - static_cast<int>(std::clamp<int64_t>(count, 0, width)), width};
    };
    // Columns from the switching edge whose light in row y is among the first
    // k: column j holds ranks j * h .. j * h + h - 1, row y rank j * h + y.
    const int64_t columns = k > y ? (k - y + h - 1) / h : 0;
    switch (type) {
        case FadeType::FlowDown:
            return y % 2 == 0 ? fromLeft(k - int64_t{y} * w, w) : fromRight(k - int64_t{y} * w, w);
        case FadeType::FillUp: {
            const int r = h - 1 - y;
            return r % 2 == 0 ? fromLeft(k - int64_t{r} * w, w) : fromRight(k - int64_t{r} * w, w);
        }
        case FadeType::ScrollUp:
            return fromLeft(k - int64_t{h - 1 - y} * w, w);
        case FadeType::ScrollDown:
            return fromLeft(k - int64_t{y} * w, w);
        case FadeType::ScrollLeft:
            return fromRight(columns, w);
        default:  // ScrollRight
            return fromLeft(columns, w);
    }
}

// Rewrites the mask for position f, 1 for the lights showing bank B and 0 for
// the others, and, when `out` is set, copies each light's bank into it.
void updateMask(SharedState& s, FadeType type, double f, platform::Random& rng, Frame* out) {
    const int w = s.gridCols();
    const int h = s.gridRows();
    const int n = w * h;
    if (n == 0) return;
    if (!s.mixMap.contains(w - 1, h - 1)) s.mixMap.resize(w, h, 0.0f);

    const int64_t k = static_cast<int64_t>(std::nearbyint(f * n));  // lights showing B
    const bool partial = k > 0 && k < n;

    if (type == FadeType::Random) {
        if (s.lastMixType != static_cast<int16_t>(FadeType::Random) ||
            s.randomRank.size() != static_cast<size_t>(n))
            s.randomRankStale = true;
        // Drawn only when some lights show each bank, so that mixes at the
        // end positions use no random numbers.
        if (s.randomRankStale && partial) {
            drawRandomRanks(s, n, rng);
            s.randomRankStale = false;
        }
        if (f <= 0.0 || f >= 1.0) s.randomRankStale = true;
    }

    for (int y = 0; y < h; ++y) {
        const uint8_t* a = out ? s.bankA.frame.row(y) : nullptr;
        const uint8_t* b = out ? s.bankB.frame.row(y) : nullptr;
        uint8_t* m = out ? out->row(y) : nullptr;
        if (type == FadeType::Random && partial) {
            const int32_t* rank = s.randomRank.data() + static_cast<ptrdiff_t>(y) * w;
            // The ranks are in random order: the bank is chosen by masks,
            // not branches. The mask first, then the lights, so that stores
            // to the frame's bytes do not make every mask write look up the
            // grid again.
            constexpr uint32_t kOne = std::bit_cast<uint32_t>(1.0f);
            for (int x = 0; x < w; ++x)
                s.mixMap.at(x, y) =
                    std::bit_cast<float>(kOne & (0u - static_cast<uint32_t>(rank[x] < k)));
            if (m)
                for (int x = 0; x < w; ++x) {
                    const uint32_t showB = 0u - static_cast<uint32_t>(rank[x] < k);
                    uint32_t fromA, fromB, to;
                    std::memcpy(&fromA, a + x * Frame::kComponents, sizeof fromA);
                    std::memcpy(&fromB, b + x * Frame::kComponents, sizeof fromB);
                    std::memcpy(&to, m + x * Frame::kComponents, sizeof to);
                    const uint32_t colour = (fromB & showB) | (fromA & ~showB);
                    to = (to & ~Frame::kRgbBits) | (colour & Frame::kRgbBits);
                    std::memcpy(m + x * Frame::kComponents, &to, sizeof to);
                }
            continue;
        }
        const Span span = partial ? switchedSpan(type, k, y, w, h) : Span{0, k == n ? w : 0};
        s.mixMap.fillSpan(y, 0, span.x0, 0.0f);
        s.mixMap.fillSpan(y, span.x0, span.x1, 1.0f);
        s.mixMap.fillSpan(y, span.x1, w, 0.0f);
        if (m) {
            copyLights(a, m, 0, span.x0);
            copyLights(b, m, span.x0, span.x1);
            copyLights(a, m, span.x1, w);
        }
    }
}

void setChanged(SharedState& s) {
    s.dirtyDmx = true;
    s.dirtySim = true;
    s.dirtyM = true;
}

}  // namespace

bool isMaskFade(int16_t fadeType) {
    return fadeType >= static_cast<int16_t>(FadeType::Random) &&
           fadeType <= static_cast<int16_t>(FadeType::ScrollRight);
}

void mixFrames(SharedState& state, double fader, uint32_t fadeColor, platform::Random& rng) {
    const double f = clampUnit(fader);
    const FadeType type = typeOf(state.fadeType);
    const int w = state.gridCols();
    const int h = state.gridRows();
    // Frames sized with the grid (always, but for hand-made states) take the
    // row-wise paths; others go light by light with checked access.
    const bool covered = w > 0 && h > 0 && state.bankA.frame.contains(w - 1, h - 1) &&
                         state.bankB.frame.contains(w - 1, h - 1) &&
                         state.frameM.contains(w - 1, h - 1);
    const bool mask = isMaskFade(static_cast<int16_t>(type));
    if (mask) updateMask(state, type, f, rng, covered ? &state.frameM : nullptr);
    state.lastMixType = static_cast<int16_t>(type);

    const Middle mid = middleOf(fadeColor);
    if (mask && !covered) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double t = clampUnit(static_cast<double>(state.mixMap.get(x, y, 0.0f)));
                withFormula(type, t,
                            [&](const auto& formula) { blendLight(state, x, y, mid, formula); });
            }
    } else if (!mask) {
        withFormula(type, f, [&](const auto& formula) {
            if (covered) {
                blendRows(state.bankA.frame, state.bankB.frame, state.frameM, w, h, mid, formula);
                return;
            }
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) blendLight(state, x, y, mid, formula);
        });
    }
    setChanged(state);
}

void mixCell(SharedState& state, double fader, int x, int y, uint32_t fadeColor) {
    if (x < 0 || y < 0 || x >= state.gridCols() || y >= state.gridRows()) return;
    const FadeType type = typeOf(state.fadeType);
    const double f = isMaskFade(static_cast<int16_t>(type))
                         ? clampUnit(static_cast<double>(state.mixMap.get(x, y, 0.0f)))
                         : clampUnit(fader);
    withFormula(type, f, [&](const auto& formula) {
        blendLight(state, x, y, middleOf(fadeColor), formula);
    });
    setChanged(state);
}

void resetMixMap(SharedState& state, double value) {
    const int w = state.gridCols();
    const int h = state.gridRows();
    if (w > 0 && h > 0 && !state.mixMap.contains(w - 1, h - 1)) state.mixMap.resize(w, h, 0.0f);
    state.mixMap.fill(static_cast<float>(clampUnit(value)));
    // The old switching order no longer matches the mask: Random draws anew.
    state.randomRankStale = true;
}

}  // namespace kavrel
