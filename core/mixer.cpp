#include "core/mixer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/colors.h"

namespace kavrel {

namespace {

double clampUnit(double v) {
    if (!(v > 0.0)) return 0.0;  // NaN too
    return v >= 1.0 ? 1.0 : v;
}

// Round half to even, then saturate.
uint8_t toByte(double v) {
    const double r = std::nearbyint(v);
    if (!(r > 0.0)) return 0;
    return r >= 255.0 ? uint8_t{255} : static_cast<uint8_t>(r);
}

FadeType typeOf(int16_t code) {
    if (code < 0 || code >= kFadeTypeCount) return FadeType::CrossFade;
    return static_cast<FadeType>(code);
}

uint8_t mixComponent(FadeType type, double f, double a, double b, double middle, double mask) {
    switch (type) {
        case FadeType::BlackFade:
            return f <= 0.5 ? toByte(a * (1.0 - 2.0 * f)) : toByte(b * (2.0 * f - 1.0));
        case FadeType::ColorFade:
            return f <= 0.5 ? toByte(a + (middle - a) * (2.0 * f))
                            : toByte(middle + (b - middle) * (2.0 * f - 1.0));
        case FadeType::Add:
            return f <= 0.5 ? toByte(a + b * (2.0 * f)) : toByte(a * (2.0 - 2.0 * f) + b);
        case FadeType::CrossFade:
            return toByte(a + (b - a) * f);
        default:
            return toByte(a + (b - a) * mask);  // mask types
    }
}

// One light of frameM; f already cut to 0..1, middle already translated.
void mixOne(SharedState& s, FadeType type, double f, int x, int y, uint32_t middle) {
    const BankState& A = s.bankA;
    const BankState& B = s.bankB;
    const double mask = clampUnit(static_cast<double>(s.mixMap.get(x, y, 0.0f)));
    uint8_t out[3];
    for (int c = 0; c < 3; ++c) {
        const double mid = static_cast<double>((middle >> (8 * c)) & 0xFFu);
        out[c] = mixComponent(type, f, A.frame.get(x, y, c), B.frame.get(x, y, c), mid, mask);
    }
    s.frameM.setRgb(x, y, out[0], out[1], out[2]);
}

uint32_t translatedMiddle(uint32_t fadeColor) {
    return platform::rgb(getColorPart(fadeColor, kRedMask), getColorPart(fadeColor, kGreenMask),
                         getColorPart(fadeColor, kBlueMask));
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

// Position of light (x, y) in the order in which a mask type switches lights
// to bank B; w, h are the grid size, n = w * h.
int64_t rankOf(const SharedState& s, FadeType type, int x, int y, int w, int h) {
    switch (type) {
        case FadeType::FlowDown:
            return int64_t{y} * w + (y % 2 == 0 ? x : w - 1 - x);
        case FadeType::FillUp: {
            const int r = h - 1 - y;
            return int64_t{r} * w + (r % 2 == 0 ? x : w - 1 - x);
        }
        case FadeType::ScrollUp:
            return int64_t{h - 1 - y} * w + x;
        case FadeType::ScrollDown:
            return int64_t{y} * w + x;
        case FadeType::ScrollLeft:
            return int64_t{w - 1 - x} * h + y;
        case FadeType::ScrollRight:
            return int64_t{x} * h + y;
        default:
            return s.randomRank[static_cast<size_t>(y) * static_cast<size_t>(w) +
                                static_cast<size_t>(x)];
    }
}

void updateMask(SharedState& s, FadeType type, double f, platform::Random& rng) {
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

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool showB = partial ? rankOf(s, type, x, y, w, h) < k : k == n;
            s.mixMap.at(x, y) = showB ? 1.0f : 0.0f;
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
    if (isMaskFade(static_cast<int16_t>(type))) updateMask(state, type, f, rng);
    state.lastMixType = static_cast<int16_t>(type);

    const uint32_t middle = translatedMiddle(fadeColor);
    const int w = state.gridCols();
    const int h = state.gridRows();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) mixOne(state, type, f, x, y, middle);
    setChanged(state);
}

void mixCell(SharedState& state, double fader, int x, int y, uint32_t fadeColor) {
    if (x < 0 || y < 0 || x >= state.gridCols() || y >= state.gridRows()) return;
    mixOne(state, typeOf(state.fadeType), clampUnit(fader), x, y, translatedMiddle(fadeColor));
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
