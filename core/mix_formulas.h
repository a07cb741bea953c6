#pragma once
// The blend formulas of docs/mixing.md with the fade type and the fader
// position settled once per mix, so that loops over lights hold no switch.
#include "core/mixer.h"

namespace kavrel {

// Hands `apply` the formula of a blend type for fader position f, as a
// function of (a, b, middle) giving the unrounded component. The fade type,
// the fader half and the factors that depend on f alone are settled here,
// once per mix; the factors are the very doubles the formulas compute.
// Mask types blend by their mask value like CrossFade, which mixCell passes as f.
template <typename Apply>
inline void withFormula(FadeType type, double f, Apply&& apply) {
    switch (type) {
        case FadeType::BlackFade:
            if (f <= 0.5) {
                const double g = 1.0 - 2.0 * f;
                return apply([g](double a, double, double) { return a * g; });
            } else {
                const double g = 2.0 * f - 1.0;
                return apply([g](double, double b, double) { return b * g; });
            }
        case FadeType::ColorFade:
            if (f <= 0.5) {
                const double g = 2.0 * f;
                return apply([g](double a, double, double m) { return a + (m - a) * g; });
            } else {
                const double g = 2.0 * f - 1.0;
                return apply([g](double, double b, double m) { return m + (b - m) * g; });
            }
        case FadeType::Add:
            if (f <= 0.5) {
                const double g = 2.0 * f;
                return apply([g](double a, double b, double) { return a + b * g; });
            } else {
                const double g = 2.0 - 2.0 * f;
                return apply([g](double a, double b, double) { return a * g + b; });
            }
        default:  // CrossFade, and the mask types by their mask value
            return apply([f](double a, double b, double) { return a + (b - a) * f; });
    }
}

}  // namespace kavrel
