// Writing numbers as texts: the shortest single and double texts, limit texts,
// the number patterns of the grids and reports, and the character pattern.

#include "core/failure.h"
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vortan;
using namespace vortan::numtext;

namespace {

struct SingleText {
    float value;
    const char* text;
};

struct DoubleText {
    double value;
    const char* text;
};

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

TEST(ShortestSingle, WritesAtMostSevenDigitsAsShortAsPossible)
{
    const SingleText cases[] = {
        {0.4f, "0.4"},
        {2.5f, "2.5"},
        {0.1f + 0.2f, "0.3"},   // 0.300000012 in single precision
        {1e-3f, "0.001"},
        {123456.7f, "123456.7"},
        {1234567.0f, "1234567"},
        {0.1f, "0.1"},
        {0.41f, "0.41"},        // stored as 0.409999996
        {25.05f, "25.05"},      // stored as 25.0499992
        {1 / 3.0f, "0.3333333"},
        {2 / 3.0f, "0.6666667"},
        {12.3456789f, "12.34568"},
        {1.1f * 1.1f, "1.21"},  // 1.21000004
        {100.0f, "100"},
        {-0.5f, "-0.5"},
        {-12.25f, "-12.25"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {9999999.0f, "9999999"},
        {0.0001f, "0.0001"},
    };
    for (const SingleText& c : cases)
        EXPECT_EQ(shortestSingle(c.value), q(c.text)) << c.text;
}

TEST(ShortestSingle, UsesAnExponentForLargeAndTinyMagnitudes)
{
    // From ten million upwards and below 0.0001 the run-time wrote an exponent
    // of at least two digits.
    const SingleText cases[] = {
        {16777216.0f, "1.677722E+07"}, // 2^24, seven digits kept
        {1e7f, "1E+07"},
        {-2.5e7f, "-2.5E+07"},
        {3.4e38f, "3.4E+38"},
        {0.00001f, "1E-05"},
        {1.5e-5f, "1.5E-05"},
        {-1.5e-20f, "-1.5E-20"},
    };
    for (const SingleText& c : cases)
        EXPECT_EQ(shortestSingle(c.value), q(c.text)) << c.text;
}

TEST(ShortestSingle, HundredthsReadAsTheirOwnDecimalText)
{
    // Depths and torques are typed with two decimals: every such value up to
    // 100 m must come back as the digits that were typed, so that an SQL
    // literal stores exactly what the grid showed.
    for (int hundredths = 0; hundredths <= 10000; ++hundredths) {
        const float value = static_cast<float>(hundredths) / 100.0f;
        QString expected = QString::number(hundredths / 100);
        const int fraction = hundredths % 100;
        if (fraction % 10 != 0)
            expected += QStringLiteral(".%1").arg(fraction, 2, 10, QLatin1Char('0'));
        else if (fraction != 0)
            expected += QStringLiteral(".%1").arg(fraction / 10);
        ASSERT_EQ(shortestSingle(value), expected) << hundredths;
        ASSERT_EQ(shortestSingle(value).toFloat(), value) << hundredths;
    }
}

TEST(ShortestDouble, WritesAtMostFifteenDigits)
{
    const DoubleText cases[] = {
        {0.1 + 0.2, "0.3"},
        {2.675, "2.675"},
        {1 / 3.0, "0.333333333333333"},
        {2 / 3.0, "0.666666666666667"},
        {-1.5, "-1.5"},
        {63.2, "63.2"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1e100, "1E+100"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1e-100, "1E-100"},
        {0.0, "0"},
        {-0.0, "0"},
    };
    for (const DoubleText& c : cases)
        EXPECT_EQ(shortestDouble(c.value), q(c.text)) << c.text;
}

TEST(NumberTexts, NonFiniteValuesOverflow)
{
    for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::nan("")}) {
        EXPECT_THROW(shortestDouble(value), Failure);
        EXPECT_THROW(formatNumber(value, u"0.0"), Failure);
        EXPECT_THROW(limitText(static_cast<float>(value)), Failure);
        int number = -1;
        try {
            shortestSingle(static_cast<float>(value));
        } catch (const Failure& failure) {
            number = failure.number();
        }
        EXPECT_EQ(number, err::Overflow);
    }
}

TEST(LimitText, DropsTheZeroBeforeThePoint)
{
    const SingleText cases[] = {
        {1.0f, "1"}, {50.0f, "50"}, {0.5f, ".5"}, {-0.5f, "-.5"}, {0.25f, ".25"},
        {0.1f, ".1"}, {1.5f, "1.5"}, {10.0f, "10"}, {0.0f, "0"}, {63.2f, "63.2"},
    };
    for (const SingleText& c : cases)
        EXPECT_EQ(limitText(c.value), q(c.text)) << c.text;
}

struct PatternCase {
    double value;
    const char* text;
};

void expectPattern(const char16_t* pattern, std::initializer_list<PatternCase> cases)
{
    for (const PatternCase& c : cases)
        EXPECT_EQ(formatNumber(c.value, pattern), q(c.text))
            << QString::fromUtf16(pattern).toStdString() << " of " << c.value;
}

TEST(FormatNumber, OneDecimal)
{
    expectPattern(u"0.0", {
        {0, "0.0"}, {0.05, "0.1"}, {0.04, "0.0"},
        {-0.04, "0.0"},     // rounds to zero: no "-0.0"
        {-0.05, "-0.1"}, {1.25, "1.3"}, {-1.25, "-1.3"},
        {25.05, "25.1"},    // stored as 25.050000000000001, reads 25.05
        {2.45, "2.5"},      // stored as 2.4500000000000002
        {0.35, "0.4"},      // stored as 0.34999999999999998, reads 0.35
        {63.2, "63.2"}, {12345.67, "12345.7"}, {0.95, "1.0"}, {9.96, "10.0"}, {-1.3, "-1.3"},
        {50, "50.0"},
    });
}

TEST(FormatNumber, TwoDecimals)
{
    expectPattern(u"0.00", {
        {2.675, "2.68"}, {1.005, "1.01"}, {-1.3, "-1.30"}, {-1.5, "-1.50"}, {0, "0.00"},
        {0.004, "0.00"}, {0.005, "0.01"}, {-0.005, "-0.01"}, {-0.004, "0.00"}, {1.5, "1.50"},
        {1e15, "1000000000000000.00"}, {0.1 + 0.2, "0.30"},
    });
}

TEST(FormatNumber, WholeNumbersRoundHalvesAwayFromZero)
{
    expectPattern(u"0", {{0.5, "1"}, {1.5, "2"}, {2.5, "3"}, {-2.5, "-3"}, {0.4, "0"}, {-0.4, "0"}, {7, "7"}});
    expectPattern(u"#,##0", {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {-1234.5, "-1,235"},
        {999.5, "1,000"}, {12, "12"},
    });
}

TEST(FormatNumber, GroupedWithDecimals)
{
    expectPattern(u"#,##0.0", {
        {1234.56, "1,234.6"}, {0.05, "0.1"}, {-12345.65, "-12,345.7"}, {0, "0.0"}, {100, "100.0"},
        {999999.96, "1,000,000.0"},
    });
    expectPattern(u"#,##0.00", {
        {12345.678, "12,345.68"}, {0, "0.00"},
        {999999.995, "1,000,000.00"}, // reads 999999.995 at fifteen digits
        {-0.001, "0.00"}, {100, "100.00"}, {1234567.891, "1,234,567.89"}, {-1.5, "-1.50"},
        {123456789.125, "123,456,789.13"},
    });
}

TEST(FormatNumber, NoForcedDigitBeforeThePoint)
{
    // "#.0": the whole part is written only when it is not zero.
    expectPattern(u"#.0", {
        {0.5, ".5"}, {25.0, "25.0"}, {25.05, "25.1"}, {25.04, "25.0"}, {0, ".0"}, {0.04, ".0"},
        {0.96, "1.0"}, {-0.5, "-.5"}, {-0.04, ".0"}, {123.45, "123.5"},
    });
}

TEST(FormatNumber, LiteralTextAndOptionalDecimals)
{
    expectPattern(u"0.00 m", {{3.5, "3.50 m"}, {-1.5, "-1.50 m"}});
    expectPattern(u"0.0#", {{1.5, "1.5"}, {1.25, "1.25"}, {1.255, "1.26"}, {2, "2.0"}});
    expectPattern(u"\"約\"0", {{12.4, "約12"}});
    // Without any placeholder the number is written in the general form.
    EXPECT_EQ(formatNumber(0.1 + 0.2, u""), q("0.3"));
}

TEST(FormatSingle, ReadsTheValueAtSevenDigits)
{
    // 25.05f is 25.0499992370605..., which as a double rounds down; read at
    // the single's own seven digits it is 25.05 and rounds up.
    EXPECT_EQ(formatNumber(25.05f, u"#.0"), q("25.0"));
    EXPECT_EQ(formatSingle(25.05f, u"#.0"), q("25.1"));
    // 0.35f is 0.349999994...
    EXPECT_EQ(formatNumber(0.35f, u"0.0"), q("0.3"));
    EXPECT_EQ(formatSingle(0.35f, u"0.0"), q("0.4"));
    EXPECT_EQ(formatSingle(2.675f, u"0.00"), q("2.68"));
    EXPECT_EQ(formatSingle(1234.5f, u"#,##0.0"), q("1,234.5"));
    EXPECT_EQ(formatSingle(-0.04f, u"0.0"), q("0.0"));
    EXPECT_EQ(formatSingle(12.0f, u"#,##0"), q("12"));
}

TEST(FormatText, FormatsNumbersAndPassesOtherTexts)
{
    EXPECT_EQ(formatText(u"50以上", u"0.0"), q("50以上"));
    EXPECT_EQ(formatText(u"1未満", u"0.0"), q("1未満"));
    EXPECT_EQ(formatText(u"abc", u"#,##0.0"), q("abc"));
    EXPECT_EQ(formatText(u"", u"0.0"), QString());
    EXPECT_EQ(formatText(u"12.34", u"0.0"), q("12.3"));
    EXPECT_EQ(formatText(u" 7 ", u"0.0"), q("7.0"));
    EXPECT_EQ(formatText(u"-1.25", u"0.0"), q("-1.3"));
    EXPECT_EQ(formatText(u"1234.5", u"#,##0.00"), q("1,234.50"));
    EXPECT_EQ(formatText(u"&HFF", u"0.0"), q("255.0"));
}

TEST(FormatCharacters, FillsFromTheRight)
{
    // Two placeholders around a blank: the last character goes right of the
    // blank, the one before it left, and any further characters stay in front.
    EXPECT_EQ(formatCharacters(u"砂質土", u"& &"), q("砂質 土"));
    EXPECT_EQ(formatCharacters(u"粘土", u"& &"), q("粘 土"));
    EXPECT_EQ(formatCharacters(u"ローム", u"& &"), q("ロー ム"));
    EXPECT_EQ(formatCharacters(u"砂礫混じり粘性土", u"& &"), q("砂礫混じり粘性 土"));
    // '&' leaves nothing where a character is missing; literals always stay.
    EXPECT_EQ(formatCharacters(u"砂", u"& &"), q(" 砂"));
    EXPECT_EQ(formatCharacters(u"", u"& &"), q(" "));
    // '@' leaves a blank where a character is missing.
    EXPECT_EQ(formatCharacters(u"ab", u"@@@@"), q("  ab"));
    EXPECT_EQ(formatCharacters(u"abc", u"(&)"), q("ab(c)"));
}
