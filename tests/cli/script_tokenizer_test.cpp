#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/script_tokenizer.h"
#include "cli/script_values.h"

using kavrel::ScriptError;
using kavrel::ScriptSyntaxError;
using kavrel::tokenizeScriptLine;
using Words = std::vector<std::string>;

TEST(HostTokenizer, SplitsOnBlanksAndKeepsBlanksInsideQuotes) {
    EXPECT_EQ(tokenizeScriptLine("  set\tTestForm.text  \"a b  c\" \r"),
              (Words{"set", "TestForm.text", "a b  c"}));
    EXPECT_EQ(tokenizeScriptLine("set T.text \"\""), (Words{"set", "T.text", ""}));
}

TEST(HostTokenizer, EscapesOnlyQuoteAndBackslash) {
    EXPECT_EQ(tokenizeScriptLine(R"(x "say \"hi\" \\ C:\dir\n")"),
              (Words{"x", R"(say "hi" \ C:\dir\n)"}));
    // Outside quotes a backslash is an ordinary character.
    EXPECT_EQ(tokenizeScriptLine(R"(answer file a\b)"), (Words{"answer", "file", R"(a\b)"}));
}

TEST(HostTokenizer, HashStartsACommentOnlyOutsideQuotes) {
    EXPECT_TRUE(tokenizeScriptLine("# all comment \"unclosed").empty());
    EXPECT_TRUE(tokenizeScriptLine(" \t ").empty());
    EXPECT_EQ(tokenizeScriptLine("set T.combo \"#2\" # the third"),
              (Words{"set", "T.combo", "#2"}));
    EXPECT_EQ(tokenizeScriptLine("click T.go#glued"), (Words{"click", "T.go"}));
    EXPECT_EQ(tokenizeScriptLine("x \"a # b\"#c"), (Words{"x", "a # b"}));
}

TEST(HostTokenizer, HashAndDigitsAfterTheFirstWordIsAComboIndex) {
    EXPECT_EQ(tokenizeScriptLine("set T.combo #2"), (Words{"set", "T.combo", "#2"}));
    EXPECT_EQ(tokenizeScriptLine("set T.combo\t#12\t# the thirteenth"),
              (Words{"set", "T.combo", "#12"}));
    // Anything else starting with '#' is still a comment.
    EXPECT_TRUE(tokenizeScriptLine("#2 at the start of a line").empty());
    EXPECT_EQ(tokenizeScriptLine("set T.combo #2x"), (Words{"set", "T.combo"}));
    EXPECT_EQ(tokenizeScriptLine("set T.combo #"), (Words{"set", "T.combo"}));
    EXPECT_EQ(tokenizeScriptLine("set T.combo #-1"), (Words{"set", "T.combo"}));
    EXPECT_EQ(tokenizeScriptLine("click T.go#2"), (Words{"click", "T.go"}));
    EXPECT_EQ(tokenizeScriptLine("set T.combo \"a\"#2"), (Words{"set", "T.combo", "a"}));
}

TEST(HostTokenizer, RejectsBrokenQuotes) {
    for (const char* bad : {"x \"open", "x \"a\"b", "x a\"b\"", "x \"a\\\"", "\""})
        EXPECT_THROW(tokenizeScriptLine(bad), ScriptSyntaxError) << bad;
}

TEST(HostValues, ComparesAsNumbersOnlyWhenBothSidesAreNumbers) {
    EXPECT_TRUE(kavrel::valuesMatch("0.5", "0.50"));
    EXPECT_TRUE(kavrel::valuesMatch("0.5", "0,5"));
    EXPECT_TRUE(kavrel::valuesMatch("-16777216", "-16777216.0"));
    EXPECT_TRUE(kavrel::valuesMatch("Kavrel - a.Kavrel", "Kavrel - a.Kavrel"));
    EXPECT_FALSE(kavrel::valuesMatch("0.5", "0.51"));
    EXPECT_FALSE(kavrel::valuesMatch("True", "true"));
    EXPECT_FALSE(kavrel::valuesMatch("1", "1x"));
    EXPECT_FALSE(kavrel::valuesMatch("", "0"));
}

TEST(HostValues, WholeNumbersAreCheckedAgainstTheirRange) {
    EXPECT_EQ(kavrel::wholeNumber("0", 0, 5, "N"), 0);
    EXPECT_EQ(kavrel::wholeNumber("-3", -3, 5, "N"), -3);
    for (const char* bad : {"6", "-4", "+1", "1.0", "", " 1", "99999999999999999999"})
        EXPECT_THROW(kavrel::wholeNumber(bad, -3, 5, "N"), ScriptError) << bad;
    EXPECT_DOUBLE_EQ(kavrel::decimalNumber("2,5", "V"), 2.5);
    EXPECT_THROW(kavrel::decimalNumber("1e999", "V"), ScriptError);
}
