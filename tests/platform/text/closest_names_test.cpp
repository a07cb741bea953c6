#include "platform/text/closest_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::closestNames;
using platform::didYouMean;
using Names = std::vector<std::string>;

TEST(ClosestNames, CaseAloneWinsElseTheNearestWithinAFewEdits) {
    const Names controls = {"addA", "addB", "addX", "delA", "fadeTime", "fadeType", "go"};
    EXPECT_EQ(closestNames("ADDA", controls), Names{"addA"});
    // Nearest first, ties in the candidates' order, at most three.
    EXPECT_EQ(closestNames("addAA", controls), (Names{"addA", "addB", "addX"}));
    EXPECT_EQ(closestNames("addAA", controls, 1), Names{"addA"});
    // A swap of two letters is one edit.
    EXPECT_EQ(closestNames("fadeTiem", controls), Names{"fadeTime"});
    EXPECT_EQ(closestNames("fadeTpe", controls), (Names{"fadeType", "fadeTime"}));
    // Too far: "fade" is four edits from both.
    EXPECT_EQ(closestNames("fade", controls), Names{});
    // A short name gets no more edits than it has letters less one.
    EXPECT_EQ(closestNames("x", controls), Names{});
    EXPECT_EQ(closestNames("", controls), Names{});
    // The name itself is no suggestion, and repeats count once.
    EXPECT_EQ(closestNames("go", {"go", "Go", "Go"}), Names{"Go"});
}

TEST(ClosestNames, LongNamesAreComparedOnlyIgnoringCase) {
    const std::string longName(1 << 20, 'a');
    std::string upper = longName;
    upper[0] = 'A';
    EXPECT_EQ(closestNames(longName, {upper, longName.substr(1)}), Names{upper});
}

TEST(ClosestNames, DidYouMeanListsTheNamesAsTheMessageWritesThem) {
    EXPECT_EQ(didYouMean({}), "");
    EXPECT_EQ(didYouMean({"a"}), " (did you mean a?)");
    EXPECT_EQ(didYouMean({"a", "b"}, true), " (did you mean \"a\" or \"b\"?)");
    EXPECT_EQ(didYouMean({"a", "b", "c"}), " (did you mean a, b or c?)");
}
