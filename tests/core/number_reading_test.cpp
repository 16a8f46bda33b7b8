// Reading numbers out of texts: the leading-number rule, the numeric check,
// the strict conversions with their failure numbers, and whole-number rounding.

#include "core/failure.h"
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vortan;
using namespace vortan::numtext;

namespace {

// Runs the call and returns the error number it failed with, or -1 when it
// did not fail.
int failureNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return -1;
}

struct TextValue {
    const char16_t* text;
    double value;
};

} // namespace

TEST(LeadingNumber, TakesTheLongestNumericPrefix)
{
    const TextValue cases[] = {
        {u"50以上", 50},
        {u" 12 ", 12},
        {u"1.5e2x", 150},
        {u"-.5", -0.5},
        {u"+3", 3},
        {u"5.", 5},
        {u"1.2.3", 1.2},         // the second point ends the number
        {u"1,234", 1},           // so does a comma
        {u"12ｍ", 12},
        {u"1.5E-1", 0.15},
        {u"2D3", 2000},          // D introduces an exponent as E does
        {u"1e", 1},              // an exponent marker without digits is not part of it
        {u"1e+", 1},
        {u"1ex5", 1},
        {u"0.0以上", 0},
        {u"007", 7},
        {u"\t7\n", 7},
        {u"1 2 3", 123},         // blanks, tabs and line feeds are skipped everywhere
        {u"- 5", -5},
    };
    for (const TextValue& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(LeadingNumber, GivesZeroWithoutANumber)
{
    for (const char16_t* text : {u"", u"abc", u".", u"-", u"+", u"--3", u"e5", u"以上50", u"１２", u"&H", u"&HG", u"&Z1"}) {
        const double value = leadingNumber(text);
        EXPECT_EQ(value, 0.0) << QString::fromUtf16(text).toStdString();
        EXPECT_FALSE(std::signbit(value)) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_FALSE(std::signbit(leadingNumber(u"-0")));
    EXPECT_FALSE(std::signbit(leadingNumber(u"-0.0以上")));
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalWholeNumbers)
{
    const TextValue cases[] = {
        {u"&H000000FF&", 255},       // the colour defaults
        {u"&H0000FFFF&", 65535},
        {u"&H00FF0000&", 16711680},
        {u"&HFF", 255},
        {u"&hff", 255},
        {u"&HFFFF", -1},             // up to 16 bits without '&': a 16-bit pattern
        {u"&H8000", -32768},
        {u"&H7FFF", 32767},
        {u"&HFFFF&", 65535},         // the '&' suffix makes it 32 bits
        {u"&H10000", 65536},
        {u"&HFFFFFFFF", -1},
        {u"&H80000000", -2147483648.0},
        {u"&O17", 15},
        {u"&O177777", -1},
        {u"&HFFxyz", 255},
        {u" &H1F ", 31},
    };
    for (const TextValue& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(LeadingNumber, NumbersBeyondTheRangeOverflow)
{
    EXPECT_EQ(failureNumber([] { leadingNumber(u"1e400"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { leadingNumber(u"&H123456789"); }), err::Overflow);
    // Too small to hold is simply zero.
    EXPECT_EQ(leadingNumber(u"1e-400"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber(u"1e308"), 1e308);
}

TEST(IsNumeric, AcceptsOneWholeNumberWithBlanksAround)
{
    for (const char16_t* text : {u"0", u"12", u" 12 ", u"\t3\t", u"-1.5", u"+.5", u"5.", u"1e5", u"1E-5",
                                 u"2d3", u"&HFF", u"&HFF&", u"&O17", u"-0", u"1.7976931348623157e308"})
        EXPECT_TRUE(isNumeric(text)) << QString::fromUtf16(text).toStdString();
}

TEST(IsNumeric, RejectsEverythingElse)
{
    for (const char16_t* text : {u"", u" ", u".", u"-", u"+", u"1e", u"1e+", u"1,234", u"1 2", u"50以上",
                                 u"1未満", u"abc", u"&H", u"&HFFG", u"--1", u"1.2.3", u"１２", u"1e400",
                                 u"True", u"12a", u"a12"})
        EXPECT_FALSE(isNumeric(text)) << QString::fromUtf16(text).toStdString();
}

TEST(ParseNumber, GivesTheValueOnlyOfNumericTexts)
{
    EXPECT_EQ(parseNumber(u" 12 "), 12.0);
    EXPECT_EQ(parseNumber(u"-1.5"), -1.5);
    EXPECT_EQ(parseNumber(u"&H000000FF&"), 255.0);
    EXPECT_EQ(parseNumber(u"1.5e2"), 150.0);
    EXPECT_FALSE(parseNumber(u"50以上").has_value());
    EXPECT_FALSE(parseNumber(u"").has_value());
    EXPECT_FALSE(parseNumber(u"1,234").has_value());
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {4.5, 4}, {5.5, 6},
        {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {-3.5, -4},
        {2.4999999, 2}, {2.5000001, 3}, {-2.5000001, -3}, {7, 7}, {0, 0},
    };
    for (auto [value, expected] : cases) {
        EXPECT_EQ(roundHalfEven(value), expected) << value;
        EXPECT_FALSE(std::signbit(roundHalfEven(value)) && expected == 0) << value;
    }
}

TEST(RoundHalfAway, RoundsOnTheDecimalText)
{
    // 2.675 and 1.005 are stored a little below their text (2.67499999...,
    // 1.00499999...); they still round up because the text reads ...5.
    EXPECT_DOUBLE_EQ(roundHalfAway(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundHalfAway(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(roundHalfAway(25.05, 1), 25.1);
    EXPECT_DOUBLE_EQ(roundHalfAway(25.04, 1), 25.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(0.125, 2), 0.13);
    EXPECT_DOUBLE_EQ(roundHalfAway(9.96, 1), 10.0);
    EXPECT_DOUBLE_EQ(roundHalfAway(123.456, -1), 120.0);
    EXPECT_EQ(roundHalfAway(-0.04, 1), 0.0);
    EXPECT_FALSE(std::signbit(roundHalfAway(-0.04, 1)));
}

TEST(StrictConversion, Int16RoundsHalvesToEvenAndChecksTheRange)
{
    EXPECT_EQ(toInt16Strict(u"12"), 12);
    EXPECT_EQ(toInt16Strict(u" 12 "), 12);
    EXPECT_EQ(toInt16Strict(u"5.5"), 6);
    EXPECT_EQ(toInt16Strict(u"4.5"), 4);
    EXPECT_EQ(toInt16Strict(u"-2.5"), -2);
    EXPECT_EQ(toInt16Strict(u"32767"), 32767);
    EXPECT_EQ(toInt16Strict(u"32767.4"), 32767);
    EXPECT_EQ(toInt16Strict(u"-32768"), -32768);
    EXPECT_EQ(toInt16Strict(u"-32768.5"), -32768); // halves to even: still in range
    EXPECT_EQ(toInt16Strict(u"&HFFFF"), -1);
    EXPECT_EQ(toInt16Strict(u"1e3"), 1000);

    EXPECT_EQ(failureNumber([] { toInt16Strict(u"32768"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt16Strict(u"32767.5"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt16Strict(u"-32769"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt16Strict(u"&H000000FF&"); }), -1);
    EXPECT_EQ(failureNumber([] { toInt16Strict(u"&HFFFF&"); }), err::Overflow);

    for (const char16_t* text : {u"", u" ", u"abc", u"12abc", u"50以上", u"1,234", u"True"})
        EXPECT_EQ(failureNumber([text] { toInt16Strict(text); }), err::TypeMismatch)
            << QString::fromUtf16(text).toStdString();
}

TEST(StrictConversion, Int32SingleAndDouble)
{
    EXPECT_EQ(toInt32Strict(u"2147483647"), 2147483647);
    EXPECT_EQ(toInt32Strict(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(toInt32Strict(u"1e9"), 1000000000);
    EXPECT_EQ(toInt32Strict(u"&H00FF0000&"), 16711680);
    EXPECT_EQ(toInt32Strict(u"0.5"), 0);
    EXPECT_EQ(failureNumber([] { toInt32Strict(u"2147483648"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt32Strict(u"x"); }), err::TypeMismatch);

    EXPECT_EQ(toSingleStrict(u"0.1"), 0.1f);
    EXPECT_EQ(toSingleStrict(u"-25.05"), -25.05f);
    EXPECT_EQ(toSingleStrict(u"3.4e38"), 3.4e38f);
    EXPECT_EQ(failureNumber([] { toSingleStrict(u"1e39"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toSingleStrict(u"0.1m"); }), err::TypeMismatch);

    EXPECT_EQ(toDoubleStrict(u"1.5e2"), 150.0);
    EXPECT_EQ(toDoubleStrict(u"9.8"), 9.8);
    EXPECT_EQ(failureNumber([] { toDoubleStrict(u"1e400"); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toDoubleStrict(u""); }), err::TypeMismatch);
}

TEST(StrictConversion, BoolReadsWordsAndNumbers)
{
    EXPECT_TRUE(toBoolStrict(u"True"));
    EXPECT_TRUE(toBoolStrict(u" TRUE "));
    EXPECT_FALSE(toBoolStrict(u"False"));
    EXPECT_FALSE(toBoolStrict(u"false"));
    EXPECT_FALSE(toBoolStrict(u"0"));
    EXPECT_FALSE(toBoolStrict(u"0.0"));
    EXPECT_TRUE(toBoolStrict(u"-1"));
    EXPECT_TRUE(toBoolStrict(u"2"));
    EXPECT_TRUE(toBoolStrict(u"0.5"));
    for (const char16_t* text : {u"", u"yes", u"Tru", u"1x"})
        EXPECT_EQ(failureNumber([text] { toBoolStrict(text); }), err::TypeMismatch)
            << QString::fromUtf16(text).toStdString();
}

TEST(StrictConversion, FailureCarriesTheOffendingText)
{
    try {
        toInt16Strict(u"abc");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::TypeMismatch);
        EXPECT_TRUE(failure.source().contains(QStringLiteral("abc")));
    }
}

TEST(WholeNumbers, FromDoublesRoundHalvesToEvenAndCheckTheRange)
{
    EXPECT_EQ(toInt16(32766.5), 32766);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(failureNumber([] { toInt16(32767.5); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt16(-32769); }), err::Overflow);
    EXPECT_EQ(failureNumber([] { toInt16(std::nan("")); }), err::Overflow);
    EXPECT_EQ(toInt32(2147483646.5), 2147483646);
    EXPECT_EQ(failureNumber([] { toInt32(2147483647.5); }), err::Overflow);
}

TEST(IsInt16Value, NumericAndWithinSixteenBits)
{
    EXPECT_TRUE(isInt16Value(u"-32768"));
    EXPECT_TRUE(isInt16Value(u"32767"));
    EXPECT_TRUE(isInt16Value(u" 12 "));
    EXPECT_TRUE(isInt16Value(u"-32768.0"));
    EXPECT_TRUE(isInt16Value(u"1.5"));
    EXPECT_TRUE(isInt16Value(u"&HFFFF"));
    EXPECT_FALSE(isInt16Value(u"32768"));
    EXPECT_FALSE(isInt16Value(u"32767.4")); // the value itself lies above 32767
    EXPECT_FALSE(isInt16Value(u"-32769"));
    EXPECT_FALSE(isInt16Value(u"1a"));
    EXPECT_FALSE(isInt16Value(u""));
    EXPECT_FALSE(isInt16Value(u"1e400"));
}
