#pragma once
// The numbers of a Color Change entry: how long a colour stays, how many
// steps a transition takes and how long each lasts, and the random cell order.
#include <cstdint>
#include <vector>

namespace platform {
class Random;
}

namespace kavrel {

// Fade modes of a Color Change entry (the editor's list order).
enum class FadeMode : int16_t {
    None = 0,
    Fade = 1,
    Random = 2,
    FillDown = 3,
    FillUp = 4,
    ScrollUp = 5,
    ScrollDown = 6,
    ScrollLeft = 7,
    ScrollRight = 8,
};

inline bool isTransition(int16_t mode) {
    return mode >= static_cast<int16_t>(FadeMode::Fade) &&
           mode <= static_cast<int16_t>(FadeMode::ScrollRight);
}
inline bool usesCellOrder(int16_t mode) {
    return mode >= static_cast<int16_t>(FadeMode::Random) &&
           mode <= static_cast<int16_t>(FadeMode::FillUp);
}
inline bool fillsColumns(int16_t mode) {
    return mode == static_cast<int16_t>(FadeMode::FillDown) ||
           mode == static_cast<int16_t>(FadeMode::FillUp);
}

// The step timer's interval for a colour of `seconds` at `speed` (50 keeps
// the time, 100 divides it by 3, 0 multiplies it by 3), rounded half to even
// and kept within 1 ms .. 2^31 - 1 ms.
int32_t colourInterval(double seconds, int32_t speed);

// Steps of a transition; 0 for a mode that has none.
int16_t transitionSteps(int16_t mode, int32_t level, int cols, int rows);
// The second timer's interval for one of `steps` steps at `level`, rounded
// half to even and kept within 1 ms .. 2^31 - 1 ms.
int32_t transitionInterval(int32_t level, int32_t steps);

// order(0..n-1) the cell numbers 0..n-1 swapped in the entry's random way
// (each i with a drawn j), order(n) spare and 0.
void shuffleCells(std::vector<int32_t>& order, int32_t n, platform::Random& random);

}  // namespace kavrel
