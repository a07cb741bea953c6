#include "platform/runtime/random.h"

#include <bit>
#include <cmath>

namespace platform {

namespace {

// Spreads any seed, even 0, over well-mixed 64-bit words.
uint64_t splitmix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

Random::Random(uint64_t s) : state_{} {
    seed(s);
}

void Random::seed(uint64_t s) {
    for (uint64_t& w : state_) w = splitmix64(s);
}

void Random::reseedFromTime(double secondsSinceMidnight) {
    // All bits of the double, fraction included, are mixed in; the old state
    // stays part of the new one.
    uint64_t mix = std::bit_cast<uint64_t>(secondsSinceMidnight);
    for (uint64_t& w : state_) w ^= splitmix64(mix);
    // xoshiro never leaves an all-zero state; the xor could land there.
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) seed(0);
    for (int i = 0; i < 4; ++i) nextBits();
}

double Random::next() {
    ++draws_;
    if (!scripted_.empty()) {
        double v = scripted_.front();
        scripted_.pop_front();
        if (!(v >= 0)) return 0;  // negative or NaN
        if (v >= 1) return std::nextafter(1.0, 0.0);
        return v;
    }
    return static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
}

// xoshiro256**.
uint64_t Random::nextBits() {
    const uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = std::rotl(state_[3], 45);
    return result;
}

}  // namespace platform
