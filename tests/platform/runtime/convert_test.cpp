#include "platform/runtime/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace platform {
namespace {

const Locale kEnglish = Locale::english();
const Locale kGerman = Locale::german();

TEST(PlatformConvert, NumberTextUsesLocaleSeparatorAndShortestForm) {
    EXPECT_EQ(numberText(0.5, kEnglish), "0.5");
    EXPECT_EQ(numberText(0.5, kGerman), "0,5");
    EXPECT_EQ(numberText(3.0, kEnglish), "3");
    EXPECT_EQ(numberText(-0.5, kEnglish), "-0.5");
    EXPECT_EQ(numberText(-0.0, kEnglish), "0");
    EXPECT_EQ(numberText(1234567.25, kGerman), "1234567,25");  // no grouping
}

TEST(PlatformConvert, NumberTextKeepsFifteenDigitsAndExponentForm) {
    EXPECT_EQ(numberText(0.1 + 0.2, kEnglish), "0.3");
    EXPECT_EQ(numberText(1.0 / 3.0, kEnglish), "0.333333333333333");
    EXPECT_EQ(numberText(1e-5, kEnglish), "1E-05");
    EXPECT_EQ(numberText(1.5e-5, kGerman), "1,5E-05");
    EXPECT_EQ(numberText(0.0001, kEnglish), "0.0001");
    EXPECT_EQ(numberText(1e15, kEnglish), "1E+15");
    EXPECT_EQ(numberText(999999999999999.0, kEnglish), "999999999999999");
    EXPECT_EQ(numberText(int64_t{-9007199254740993}), "-9007199254740993");
}

TEST(PlatformConvert, NumberTextReadsBackInBothLocales) {
    for (double v : {0.5, -0.5, 3.0, 0.1, 123.456, 1e-5, 2.5e20, 800.0, 0.01}) {
        for (const Locale* loc : {&kEnglish, &kGerman}) {
            auto back = parseNumber(numberText(v, *loc));
            ASSERT_TRUE(back.has_value()) << v;
            EXPECT_DOUBLE_EQ(*back, v);
        }
    }
}

TEST(PlatformConvert, ParseAcceptsEitherSeparatorBlanksSignsAndExponents) {
    EXPECT_EQ(parseNumber("0.5"), 0.5);
    EXPECT_EQ(parseNumber("0,5"), 0.5);
    EXPECT_EQ(parseNumber(" \t-3,25 "), -3.25);
    EXPECT_EQ(parseNumber("+7"), 7.0);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    EXPECT_EQ(parseNumber("1E-05"), 1e-5);
    EXPECT_EQ(parseNumber("2,5e+3"), 2500.0);
    EXPECT_EQ(parseNumber("1e-999"), 0.0);  // below the double range: zero
    EXPECT_TRUE(isNumeric("3,00"));
}

TEST(PlatformConvert, ParseRejectsEverythingElse) {
    for (const char* bad :
         {"",      " ",     "\t",    "nan", "NaN", "inf",   "Infinity", "1e999", "-1e999",
          "1.2.3", "1,2,3", "1.2,3", "abc", "--1", "+-1",   "0x10",     "1e",    "1e+",
          ".",     "-",     "E5",    "1 2", "- 1", "12abc", "1,000.5"}) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << '"' << bad << '"';
        EXPECT_FALSE(isNumeric(bad)) << '"' << bad << '"';
    }
}

TEST(PlatformConvert, FormatStandardRoundsTheDecimalHalfAwayFromZero) {
    EXPECT_EQ(formatStandard(3.0, kEnglish), "3.00");
    EXPECT_EQ(formatStandard(3.0, kGerman), "3,00");
    EXPECT_EQ(formatStandard(0.125, kEnglish), "0.13");
    EXPECT_EQ(formatStandard(2.675, kEnglish), "2.68");  // 2.67499999... in binary
    EXPECT_EQ(formatStandard(1.005, kGerman), "1,01");
    EXPECT_EQ(formatStandard(-0.125, kEnglish), "-0.13");
    EXPECT_EQ(formatStandard(9.995, kEnglish), "10.00");
    EXPECT_EQ(formatStandard(0.124, kEnglish), "0.12");
    EXPECT_EQ(formatStandard(-0.001, kEnglish), "0.00");
    EXPECT_EQ(formatStandard(12345.5, kEnglish), "12345.50");
    EXPECT_EQ(formatStandard(1e20, kEnglish), "100000000000000000000.00");
}

TEST(PlatformConvert, FormatStandardRoundsTheDigitsNumberTextShows) {
    // Just below 1/8: its shortest form is 0.12499999999999999, fifteen digits show 0.125.
    const double justBelow = std::nextafter(0.125, 0.0);
    ASSERT_EQ(numberText(justBelow, kEnglish), "0.125");
    EXPECT_EQ(formatStandard(justBelow, kEnglish), "0.13");
    EXPECT_EQ(formatStandard(-justBelow, kGerman), "-0,13");
    const double sum = 0.01 + 0.075;  // 0.08499999999999999 at its shortest
    ASSERT_EQ(numberText(sum, kEnglish), "0.085");
    EXPECT_EQ(formatStandard(sum, kEnglish), "0.09");
    EXPECT_EQ(formatStandard(0.0, kEnglish), "0.00");
    EXPECT_EQ(formatStandard(5e-324, kEnglish), "0.00");
    EXPECT_EQ(formatStandard(0.005, kEnglish), "0.01");
    EXPECT_EQ(formatStandard(123456789012345678.0, kEnglish), "123456789012346000.00");
    EXPECT_EQ(formatStandard(1.7976931348623157e308, kEnglish).size(), 312u);
}

TEST(PlatformConvert, BoolTextAndTruth) {
    EXPECT_EQ(boolText(true, kEnglish), "True");
    EXPECT_EQ(boolText(false, kEnglish), "False");
    EXPECT_EQ(boolText(true, kGerman), "Wahr");
    EXPECT_EQ(boolText(false, kGerman), "Falsch");
    EXPECT_TRUE(textIsTrue("True"));
    EXPECT_TRUE(textIsTrue("Wahr"));
    for (const char* no : {"true", "TRUE", "wahr", " True", "1", "-1", "", "False"}) {
        EXPECT_FALSE(textIsTrue(no)) << no;
    }
}

TEST(PlatformConvert, WholeNumbersRoundHalfToEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(toInt16(2.5), int16_t{2});
    EXPECT_EQ(toInt16(-2.5), int16_t{-2});
    EXPECT_EQ(toInt32(3.5), 4);
    EXPECT_EQ(toByte(254.5), uint8_t{254});
    EXPECT_EQ(textToInt16("0,5"), int16_t{0});
    EXPECT_EQ(textToInt32(" 1.5 "), 2);
}

TEST(PlatformConvert, WholeNumbersReportOverflowAndNaN) {
    EXPECT_FALSE(toInt16(32767.5).has_value());
    EXPECT_EQ(toInt16(32767.4), int16_t{32767});
    EXPECT_EQ(toInt16(-32768.4), int16_t{-32768});
    EXPECT_EQ(toInt16(-32768.5), int16_t{-32768});
    EXPECT_FALSE(toInt16(-32769.0).has_value());
    EXPECT_FALSE(toInt32(2147483647.5).has_value());
    EXPECT_EQ(toInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_FALSE(toByte(255.5).has_value());
    EXPECT_FALSE(toByte(-0.6).has_value());
    EXPECT_EQ(toByte(-0.5), uint8_t{0});
    EXPECT_FALSE(toInt32(std::nan("")).has_value());
    EXPECT_FALSE(toInt16(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(textToInt16("1E5").has_value());
    EXPECT_FALSE(textToInt32("abc").has_value());
}

TEST(PlatformConvert, IntFloorAndTruncatingDivision) {
    EXPECT_EQ(intFloor(2.7), 2);
    EXPECT_EQ(intFloor(-2.1), -3);
    EXPECT_EQ(intFloor(-0.0), 0);
    EXPECT_EQ(intFloor(1e300), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(intFloor(-1e300), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(intFloor(std::nan("")), 0);
    EXPECT_EQ(divTrunc(7, 2), 3);
    EXPECT_EQ(divTrunc(-7, 2), -3);
    EXPECT_EQ(divTrunc(7, -2), -3);
    EXPECT_EQ(divTrunc(5, 0), 0);
    EXPECT_EQ(divTrunc(std::numeric_limits<int64_t>::min(), -1),
              std::numeric_limits<int64_t>::max());
}

}  // namespace
}  // namespace platform
