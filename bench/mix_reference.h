#pragma once
// The mix's own work and nothing else, for comparison with mixFrames: plain
// arrays of red, green and blue bytes, one tight loop per fade type with the
// same formulas and the same rounding. Mask types compare each light's rank in
// a precomputed switching order with the count of lights showing bank B.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/byte_rounding.h"
#include "core/mix_formulas.h"

namespace bench {

class MixReference {
  public:
    // Bytes r, g, b per light, row by row; `rank` is the switching order
    // (index y * w + x) that mask types use.
    MixReference(std::vector<uint8_t> a, std::vector<uint8_t> b, std::vector<int32_t> rank)
        : a_(std::move(a)), b_(std::move(b)), out_(a_.size()), rank_(std::move(rank)) {}

    const std::vector<uint8_t>& out() const { return out_; }

    void mix(kavrel::FadeType type, double f, const double middle[3]) {
        if (kavrel::isMaskFade(static_cast<int16_t>(type))) return select(f);
        kavrel::withFormula(type, f, [&](const auto& formula) { blend(formula, middle); });
    }

  private:
    // Compiled for AVX2 where the processor has it, as the mixer's loop is.
    template <typename Formula>
    void blend(const Formula& formula, const double middle[3]) {
        if (__builtin_cpu_supports("avx2")) return blendAvx2(formula, middle);
        blendBody(formula, middle);
    }
    template <typename Formula>
    [[gnu::target("avx2")]] void blendAvx2(const Formula& formula, const double middle[3]) {
        blendBody(formula, middle);
    }
    template <typename Formula>
    [[gnu::always_inline]] inline void blendBody(const Formula& formula, const double middle[3]) {
        const size_t n = out_.size();
        const uint8_t* a = a_.data();
        const uint8_t* b = b_.data();
        uint8_t* out = out_.data();
        for (size_t i = 0; i < n; i += 3) {
            out[i] = kavrel::roundBoundedToByte(formula(a[i], b[i], middle[0]));
            out[i + 1] = kavrel::roundBoundedToByte(formula(a[i + 1], b[i + 1], middle[1]));
            out[i + 2] = kavrel::roundBoundedToByte(formula(a[i + 2], b[i + 2], middle[2]));
        }
    }

    void select(double f) {
        const size_t n = rank_.size();
        const auto k = static_cast<int64_t>(std::nearbyint(f * static_cast<double>(n)));
        for (size_t light = 0; light < n; ++light) {
            const uint8_t* from = rank_[light] < k ? b_.data() : a_.data();
            out_[3 * light] = from[3 * light];
            out_[3 * light + 1] = from[3 * light + 1];
            out_[3 * light + 2] = from[3 * light + 2];
        }
    }

    std::vector<uint8_t> a_, b_, out_;
    std::vector<int32_t> rank_;
};

}  // namespace bench
