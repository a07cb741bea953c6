#pragma once
// The pseudo-random generator of one plug-in instance: uniform numbers in [0, 1).
#include <cstdint>
#include <deque>

namespace platform {

class Random {
  public:
    explicit Random(uint64_t seed = 0x4b617672656cULL);

    // The next number, uniform in [0, 1).
    double next();
    // Replaces the state (tests).
    void seed(uint64_t s);
    // Mixes the time of day (seconds since midnight, with fraction) into the
    // current state; never replaces it, so two reseeds within one second do
    // not repeat a sequence.
    void reseedFromTime(double secondsSinceMidnight);
    // Tests: the next numbers come from this list first (each in [0, 1)).
    void script(std::deque<double> values) { scripted_ = std::move(values); }
    uint64_t draws() const { return draws_; }

  private:
    uint64_t nextBits();
    uint64_t state_[4];
    std::deque<double> scripted_;
    uint64_t draws_ = 0;
};

}  // namespace platform
