#pragma once
// The mixer: combines bank frames A and B into the output frame by the fader
// position (0 all A, 1 all B) and the current fade type. The formulas are
// described in docs/mixing.md.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/shared_state.h"
#include "platform/runtime/random.h"

namespace kavrel {

// Fade-type codes in list order.
enum class FadeType : int16_t {
    CrossFade = 0,
    BlackFade = 1,
    ColorFade = 2,
    Random = 3,
    FlowDown = 4,
    FillUp = 5,
    ScrollUp = 6,
    ScrollDown = 7,
    ScrollLeft = 8,
    ScrollRight = 9,
    Add = 10,
};

inline constexpr int kFadeTypeCount = 11;
inline constexpr std::array<std::string_view, kFadeTypeCount> kFadeTypeNames{
    "CrossFade", "BlackFade",   "ColorFade",   "Random",       "Flow Down", "Fill up",
    "Scroll Up", "Scroll Down", "Scroll Left", "Scroll Right", "Add"};

// The types that switch whole lights by the mask mixMap.
bool isMaskFade(int16_t fadeType);

// Recomputes every light of frameM from the bank frames by state.fadeType (an
// unknown code mixes as CrossFade) and sets dirtyDmx, dirtySim and dirtyM.
// The fader is cut to 0..1 (NaN counts as 0). fadeColor is the ColorFade
// middle colour. Mask types first rewrite mixMap; Random may draw a new order
// from rng.
void mixFrames(SharedState& state, double fader, uint32_t fadeColor, platform::Random& rng);

// Recomputes light (x, y) alone as mixFrames does, mask types by the light's
// current mixMap value, and sets the same flags. Lights outside the grid are
// ignored.
void mixCell(SharedState& state, double fader, int x, int y, uint32_t fadeColor);

// Sets every light of the mask to `value` (cut to 0..1, NaN counts as 0); the
// next Random mix between the ends draws a new order.
void resetMixMap(SharedState& state, double value);

}  // namespace kavrel
