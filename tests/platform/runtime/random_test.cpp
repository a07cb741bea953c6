#include "platform/runtime/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace platform {
namespace {

std::vector<double> take(Random& r, int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(r.next());
    return v;
}

TEST(PlatformRandom, SameSeedSameSequenceOtherSeedOther) {
    Random a(42);
    Random b(42);
    Random c(43);
    auto first = take(a, 50);
    EXPECT_EQ(first, take(b, 50));
    EXPECT_NE(first, take(c, 50));
    a.seed(42);
    EXPECT_EQ(take(a, 50), first);
}

TEST(PlatformRandom, ValuesStayInUnitIntervalAndSpreadOverIt) {
    Random r(0);
    int buckets[10] = {};
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        double v = r.next();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        ++buckets[static_cast<int>(v * 10)];
    }
    for (int count : buckets) EXPECT_NEAR(count, n / 10, n / 100);
    EXPECT_EQ(r.draws(), static_cast<uint64_t>(n));
}

TEST(PlatformRandom, ReseedMixesIntoStateRatherThanReplacingIt) {
    Random r(7);
    r.reseedFromTime(43200.25);
    auto once = take(r, 20);
    r.reseedFromTime(43200.25);
    EXPECT_NE(take(r, 20), once);

    // Deterministic from the same state, and the fraction of a second counts.
    Random a(7);
    Random b(7);
    Random c(7);
    a.reseedFromTime(43200.25);
    b.reseedFromTime(43200.25);
    c.reseedFromTime(43200.5);
    auto fromA = take(a, 20);
    EXPECT_EQ(fromA, take(b, 20));
    EXPECT_NE(fromA, take(c, 20));
    EXPECT_EQ(a.draws(), 20u);  // reseeding draws nothing
}

TEST(PlatformRandom, ScriptedValuesComeFirstClamped) {
    Random r(5);
    Random plain(5);
    r.script({0.25, 0.0, 1.0, -0.5, std::nan(""), 0.999});
    EXPECT_EQ(r.next(), 0.25);
    EXPECT_EQ(r.next(), 0.0);
    double top = r.next();
    EXPECT_LT(top, 1.0);
    EXPECT_GT(top, 0.999999);
    EXPECT_EQ(r.next(), 0.0);
    EXPECT_EQ(r.next(), 0.0);
    EXPECT_EQ(r.next(), 0.999);
    EXPECT_EQ(r.draws(), 6u);
    // Then the generator carries on untouched by the script.
    EXPECT_EQ(take(r, 5), take(plain, 5));
}

}  // namespace
}  // namespace platform
