// The mixer against a plain, light-by-light reading of docs/mixing.md: random
// frames, fader positions and fade colours, every fade type, grids from one
// light to 50 x 50, compared byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/mixer.h"

namespace kavrel {
namespace {

uint8_t docRound(double v) {  // half to even, then 0..255
    const double r = std::nearbyint(v);
    return r <= 0.0 ? 0 : r >= 255.0 ? 255 : static_cast<uint8_t>(r);
}

uint8_t docBlend(FadeType type, double f, double a, double b, double c) {
    switch (type) {
        case FadeType::BlackFade:
            return docRound(f <= 0.5 ? a * (1 - 2 * f) : b * (2 * f - 1));
        case FadeType::ColorFade:
            return docRound(f <= 0.5 ? a + (c - a) * (2 * f) : c + (b - c) * (2 * f - 1));
        case FadeType::Add:
            return docRound(f <= 0.5 ? a + b * (2 * f) : a * (2 - 2 * f) + b);
        default:
            return docRound(a + (b - a) * f);
    }
}

// Position of light (x, y) in the order the documented table gives; Random
// takes the order the mixer drew, which it keeps in randomRank.
int switchOrder(const SharedState& s, FadeType type, int x, int y, int w, int h) {
    switch (type) {
        case FadeType::FlowDown:
            return y * w + (y % 2 == 0 ? x : w - 1 - x);
        case FadeType::FillUp:
            return (h - 1 - y) * w + ((h - 1 - y) % 2 == 0 ? x : w - 1 - x);
        case FadeType::ScrollUp:
            return (h - 1 - y) * w + x;
        case FadeType::ScrollDown:
            return y * w + x;
        case FadeType::ScrollLeft:
            return (w - 1 - x) * h + y;
        case FadeType::ScrollRight:
            return x * h + y;
        default:
            return s.randomRank[static_cast<size_t>(y * w + x)];
    }
}

// `base` with its lights mixed as the documentation describes for the state's
// banks; mask types also check the mixer's own mask against the documented lights.
Frame docMix(const SharedState& s, FadeType type, double f, uint32_t fadeColor, const Frame& base) {
    const int w = s.gridCols(), h = s.gridRows(), n = w * h;
    Frame out = base;
    const double middle[3] = {static_cast<double>(fadeColor & 0xFF),
                              static_cast<double>((fadeColor >> 8) & 0xFF),
                              static_cast<double>((fadeColor >> 16) & 0xFF)};
    const double k = std::nearbyint(f * n);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t rgb[3];
            if (isMaskFade(static_cast<int16_t>(type))) {
                const bool showB = k >= n || (k > 0 && switchOrder(s, type, x, y, w, h) < k);
                EXPECT_EQ(s.mixMap.at(x, y), showB ? 1.0f : 0.0f) << x << "," << y;
                for (int c = 0; c < 3; ++c)
                    rgb[c] = (showB ? s.bankB.frame : s.bankA.frame).at(x, y, c);
            } else {
                for (int c = 0; c < 3; ++c)
                    rgb[c] = docBlend(type, f, s.bankA.frame.at(x, y, c), s.bankB.frame.at(x, y, c),
                                      middle[c]);
            }
            out.setRgb(x, y, rgb[0], rgb[1], rgb[2]);
        }
    return out;
}

class MixerEquality : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MixerEquality, EveryTypeMatchesTheDocumentedMixByteForByte) {
    const auto [w, h] = GetParam();
    SharedState s;
    s.sizeGrid(w, h);
    platform::Random rng{3};
    std::mt19937 gen(static_cast<unsigned>(w * 1000 + h));
    std::uniform_int_distribution<int> byte(0, 255);
    const auto randomFrame = [&](Frame& frame) {
        // Spare components too: the mix must leave frameM's alone.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < Frame::kComponents; ++c)
                    frame.at(x, y, c) = static_cast<uint8_t>(byte(gen));
    };
    // Random positions, and the ones the formulas treat specially: the ends,
    // the middle and its neighbours, and exact multiples where ties occur.
    std::vector<double> positions = {
        0.0,   1.0,  0.5, std::nextafter(0.5, 0.0), std::nextafter(0.5, 1.0), 0.25, 0.75,
        0.125, -0.2, 1.7};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 12; ++i) positions.push_back(unit(gen));

    for (int16_t t = 0; t < kFadeTypeCount; ++t) {
        const auto type = static_cast<FadeType>(t);
        s.fadeType = t;
        for (double f : positions) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " "
                                            << kFadeTypeNames[static_cast<size_t>(t)] << " " << f);
            randomFrame(s.bankA.frame);
            randomFrame(s.bankB.frame);
            randomFrame(s.frameM);
            const uint32_t fadeColor = static_cast<uint32_t>(gen()) & 0xFFFFFFu;
            const double cut = f < 0 ? 0 : f > 1 ? 1 : f;

            const Frame before = s.frameM;
            mixFrames(s, f, fadeColor, rng);
            ASSERT_EQ(s.frameM, docMix(s, type, cut, fadeColor, before));

            // Light by light by the same mask, from the frame as it was.
            const Frame whole = s.frameM;
            s.frameM = before;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) mixCell(s, f, x, y, fadeColor);
            ASSERT_EQ(s.frameM, whole);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, MixerEquality,
                         ::testing::Values(std::pair{1, 1}, std::pair{1, 9}, std::pair{9, 1},
                                           std::pair{7, 5}, std::pair{13, 11}, std::pair{50, 50}));

// mixCell between full mixes: after a fade type is chosen every light of the
// mask holds the fader position, and mask types blend by it like CrossFade.
TEST(MixerEqualityCells, MaskValueBlendsAsCrossFade) {
    SharedState s;
    s.sizeGrid(9, 4);
    std::mt19937 gen(77);
    for (Frame* frame : {&s.bankA.frame, &s.bankB.frame})
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x)
                frame->setRgb(x, y, static_cast<uint8_t>(gen()), static_cast<uint8_t>(gen()),
                              static_cast<uint8_t>(gen()));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int16_t t = 3; t <= 9; ++t)
        for (int i = 0; i < 8; ++i) {
            const double value = i == 0 ? 0.5 : unit(gen);
            s.fadeType = t;
            resetMixMap(s, value);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 9; ++x) mixCell(s, 0.9, x, y, 0);
            const double mask = static_cast<double>(static_cast<float>(value));
            EXPECT_EQ(s.frameM, docMix(s, FadeType::CrossFade, mask, 0, s.frameM))
                << t << " " << value;
        }
}

}  // namespace
}  // namespace kavrel
