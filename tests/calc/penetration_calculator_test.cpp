// ⊿Nd, Nd and qa of one data row, with the shipped formula series, rqtbl.csv
// and qaTbl.tbl. Torque is given as the sheet shows it: in N·m (ten times
// the kN·cm value) unless the test turns the unit setting off.
//
// Factors used below, from rqtbl.csv (the notice's table interpolated in
// 0.1° steps, rounded to hundredths):
//   φ  0.0:  Nc 5.1,   Nγ 0,     Nq 1.0
//   φ 15.0:  Nc 11.0,  Nγ 1.1,   Nq 3.9
//   φ 17.8:  Nc 13.13, Nγ 2.11,  Nq 5.3    (15°→20°, 2.8/5 of the way)
//   φ 19.4:  Nc 14.34, Nγ 2.68,  Nq 6.1
//   φ 23.9:  Nc 19.4,  Nγ 5.94,  Nq 9.75
//   φ 29.1:  Nc 28.47, Nγ 14.17, Nq 17.04
//   φ 40.0:  Nc 75.3,  Nγ 93.7,  Nq 64.2   (also for every φ beyond 40°)
// Sand (series 1): c = 0, φ = 15 + √(20·Nd) truncated to 0.1°, so
//   qa = (Nq·Df·18 + Nγ·1.0·18·0.5)/3.
// Clay (series 1): φ = 0, c = 6.25·Nd, so qa = (1.0·Df·18 + 5.1·6.25·Nd)/3.

#include "calc_test_environment.h"

#include <QFile>

using namespace vortan;

namespace {

struct Penetration : ::testing::Test {
    test::CalcEnvironment env;
    AppSettings& settings() { return env.state.settings; }
    calc::RowTexts sand(const char* depth, const char* ndm, const char* torque)
    {
        return env.row(QString::fromUtf8(depth), QString::fromUtf8(ndm), QString::fromUtf8(torque),
                       QStringLiteral("砂質土"));
    }
    calc::RowTexts clay(const char* depth, const char* ndm, const char* torque)
    {
        return env.row(QString::fromUtf8(depth), QString::fromUtf8(ndm), QString::fromUtf8(torque),
                       QStringLiteral("粘性土"));
    }
};

#define EXPECT_ROW(row, d, n, q)                                                   \
    do {                                                                           \
        const calc::RowTexts r_ = (row);                                           \
        EXPECT_EQ(r_.deltaNd, QString::fromUtf8(d));                               \
        EXPECT_EQ(r_.nd, QString::fromUtf8(n));                                    \
        EXPECT_EQ(r_.qa, QString::fromUtf8(q));                                    \
    } while (0)

} // namespace

TEST_F(Penetration, WorkedBearingCapacityOfTheNoticeFormula)
{
    // Sand, depth 1.0 m, Nd = 10: φ = 15 + √200 = 29.142 -> 29.1;
    // qa = (17.04·1.0·18 + 14.17·1.0·18·0.5 + 28.47·0)/3 = (306.72 + 127.53)/3 = 144.75.
    EXPECT_ROW(sand("1.0", "10", "0"), "0.0", "10.0", "144.8");
    // Depth 2.0 m: (17.04·36 + 127.53)/3 = 740.97/3 = 246.99.
    EXPECT_ROW(sand("2.0", "10", "0"), "0.0", "10.0", "247.0");
    // Clay, depth 1.0 m, Nd = 10: c = 62.5, φ = 0: (1.0·18 + 5.1·62.5)/3 = 336.75/3 = 112.25.
    EXPECT_ROW(clay("1.0", "10", "0"), "0.0", "10.0", "112.3");
}

TEST_F(Penetration, TorqueCorrectionAndItsUnit)
{
    // Shown 25 N·m is 2.5 kN·cm: ⊿Nd = 0.40·2.5 = 1.0, Nd = 10 − 1.0 = 9.0.
    EXPECT_EQ(sand("1.0", "10", "25").deltaNd, QStringLiteral("1.0"));
    EXPECT_EQ(sand("1.0", "10", "25").nd, QStringLiteral("9.0"));
    settings().試験名単位切替 = false;
    // Shown in kN·cm: ⊿Nd = 0.40·25 = 10.0, Nd = 0.0.
    EXPECT_EQ(sand("1.0", "10", "25").deltaNd, QStringLiteral("10.0"));
    EXPECT_EQ(sand("1.0", "10", "25").nd, QStringLiteral("0.0"));
}

TEST_F(Penetration, CorrectionEntersNdRoundedToOneDecimal)
{
    // Series with D = 10 makes the rounding visible: Mv = 3.15, ⊿Nd = 1.26 -> "1.3";
    // Nd = 20 − 10·1.3 = 7.0 (with 1.26 it would be 7.4).
    env.addCustomer(QStringLiteral("十倍"), 5, QStringLiteral("砂質土"), QStringLiteral("0, 0.4, 1"),
                    QStringLiteral("0, 1, 1, 10, 1"));
    const calc::RowTexts r = env.row(QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("31.5"),
                                     QStringLiteral("砂質土"), QStringLiteral("十倍"));
    EXPECT_EQ(r.deltaNd, QStringLiteral("1.3"));
    EXPECT_EQ(r.nd, QStringLiteral("7.0"));
}

TEST_F(Penetration, NdThresholdAndZeroBlowCount)
{
    // Threshold off: Ndm = 0 gives Nd 0; φ = 15.0, qa = (3.9·18 + 1.1·9)/3 = 80.1/3 = 26.7.
    EXPECT_ROW(sand("1", "0", "0"), "0.0", "0.0", "26.7");
    // Nd = 1 − 0.40·1.5 = 0.4 (shown 15 N·m); φ = 15 + √8 = 17.83 -> 17.8;
    // qa = (5.3·18 + 2.11·9)/3 = 114.39/3 = 38.13.
    EXPECT_ROW(sand("1", "1", "15"), "0.6", "0.4", "38.1");

    settings().Ndのしきい値を有効にする = true;
    settings().Ndのしきい値 = 1.0f;
    // Ndm = 0: "1未満" and qa with Nd = 1: φ = 15 + √20 = 19.47 -> 19.4;
    // qa = (6.1·18 + 2.68·9)/3 = 133.92/3 = 44.64.
    EXPECT_ROW(sand("1", "0", "0"), "0.0", "1未満", "44.6");
    // Nd = 0.4 below the threshold: "1未満", qa still with Nd = 0.4.
    EXPECT_ROW(sand("1", "1", "15"), "0.6", "1未満", "38.1");
    // A threshold below 1 is written without its leading zero.
    settings().Ndのしきい値 = 0.5f;
    EXPECT_EQ(sand("1", "0", "0").nd, QStringLiteral(".5未満"));
}

TEST_F(Penetration, NdUpperLimit)
{
    // Clay, Ndm = 64, shown 20 N·m: ⊿Nd = 0.8, Nd = 63.2, depth 2.0 m.
    // Without the limit: c = 6.25·63.2 = 395, qa = (1.0·2·18 + 5.1·395)/3 = 2050.5/3 = 683.5.
    EXPECT_ROW(clay("2.0", "64", "20"), "0.8", "63.2", "683.5");
    settings().Nd値の上限を有効にする = true;
    settings().Nd値の上限値 = 50.0f;
    // "50以上" and qa with Nd = 50: c = 312.5, (36 + 5.1·312.5)/3 = 1629.75/3 = 543.25.
    EXPECT_ROW(clay("2.0", "64", "20"), "0.8", "50以上", "543.3以上");
    // Sand beyond the table: φ = 15 + √1000 = 46.6 serves the 40° row;
    // qa = (64.2·2·18 + 93.7·9)/3 = 3154.5/3 = 1051.5.
    EXPECT_ROW(sand("2.0", "64", "20"), "0.8", "50以上", "1051.5以上");
}

TEST_F(Penetration, LowerBlowCountLimitIgnoresTheCorrection)
{
    settings().打撃回数の下限 = true;
    settings().打撃回数の下限値 = 5;
    // Ndm = 4 with ⊿Nd = 0.40·5 = 2.0: Nd is Ndm, shown "4.0"; qa with Nd = 4:
    // φ = 15 + √80 = 23.94 -> 23.9, qa = (9.75·18 + 5.94·9)/3 = 228.96/3 = 76.32.
    EXPECT_ROW(sand("1", "4", "50"), "2.0", "4.0", "76.3");
    // At the limit as well; above it the correction applies: 6 − 2.0 = 4.0 too,
    // so use 7: Nd = 5.0.
    EXPECT_EQ(sand("1", "5", "50").nd, QStringLiteral("5.0"));
    EXPECT_EQ(sand("1", "7", "50").nd, QStringLiteral("5.0"));
    // The limit replaces a threshold text as well.
    settings().Ndのしきい値を有効にする = true;
    EXPECT_EQ(sand("1", "1", "15").nd, QStringLiteral("1.0"));
}

TEST_F(Penetration, NegativeNdShowsZeroOrNothing)
{
    // Ndm = 1, shown 57.5 N·m: ⊿Nd = 0.40·5.75 = 2.3, Nd = −1.3.
    EXPECT_ROW(sand("1", "1", "57.5"), "2.3", "0.0", "0.0");
    // With the lower limit on and Ndm = 6 above it: ⊿Nd = 7.3, Nd = −1.3, both empty.
    settings().打撃回数の下限 = true;
    settings().打撃回数の下限値 = 5;
    EXPECT_ROW(sand("1", "6", "182.5"), "7.3", "", "");
    // Ndm = 1 at or below the limit: Nd is Ndm.
    EXPECT_EQ(sand("1", "1", "57.5").nd, QStringLiteral("1.0"));
    // With the threshold on the text is "1未満", not a number below 0, and
    // qa has no value for the negative Nd.
    settings().打撃回数の下限 = false;
    settings().Ndのしきい値を有効にする = true;
    EXPECT_ROW(sand("1", "1", "57.5"), "2.3", "1未満", "");
}

TEST_F(Penetration, QaThreshold)
{
    // Clay, depth 0.1 m, Ndm = 1, shown 12.5 N·m: ⊿Nd = 0.5, Nd = 0.5;
    // qa = (1.0·0.1·18 + 5.1·3.125)/3 = 17.7375/3 = 5.9125.
    EXPECT_ROW(clay("0.1", "1", "12.5"), "0.5", "0.5", "5.9");
    settings().qaのしきい値を有効にする = true;
    settings().qaのしきい値 = 8.0f;
    EXPECT_ROW(clay("0.1", "1", "12.5"), "0.5", "0.5", "8未満");
    // 112.25 is not below it.
    EXPECT_EQ(clay("1.0", "10", "0").qa, QStringLiteral("112.3"));
}

TEST_F(Penetration, MissingFormulasAndParameters)
{
    // No qa series: ⊿Nd and Nd are filled, qa stays empty.
    env.addCustomer(QStringLiteral("無qa"), 6, QStringLiteral("砂質土"), QStringLiteral("0, 0.4, 1"),
                    QStringLiteral("0, 1, 1, 1, 1"), 0);
    EXPECT_EQ(env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("砂質土"),
                      QStringLiteral("無qa"))
                  .qa,
              QString());
    EXPECT_ROW(env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("砂質土"),
                       QStringLiteral("無qa")),
               "1.0", "9.0", "");
    // No ⊿Nd and no Nd series: ⊿Nd 0, Nd empty, qa with Nd counted as 0 (26.7, see above).
    env.addCustomer(QStringLiteral("係数無し"), 4, QStringLiteral("砂質土"), QString(), QString());
    EXPECT_ROW(env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("砂質土"),
                       QStringLiteral("係数無し")),
               "0.0", "", "26.7");
    // A soil with no parameter record in qaTbl.tbl (organic soil): qa empty.
    EXPECT_EQ(env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("腐植土")).qa,
              QString());
    // qaTbl.tbl missing: qa empty.
    ASSERT_TRUE(QFile::remove(env.files.qaParameterFile()));
    EXPECT_ROW(sand("1.0", "10", "0"), "0.0", "10.0", "");
}

TEST_F(Penetration, CellsThatAreNotNumbers)
{
    // A torque that is not a number: no ⊿Nd, no Nd, qa with Nd counted as 0.
    EXPECT_ROW(sand("1", "10", ""), "", "", "26.7");
    EXPECT_ROW(sand("1", "10", "abc"), "", "", "26.7");
    // ... but the lower limit still sets Nd = Ndm = 3: φ = 15 + √60 = 22.75 -> 22.7
    // (Nc 17.99, Nγ 5.01, Nq 8.72), qa = (8.72·18 + 5.01·9)/3 = 202.05/3 = 67.35.
    settings().打撃回数の下限 = true;
    EXPECT_ROW(sand("1", "3", ""), "", "3.0", "67.4");
    settings().打撃回数の下限 = false;
    // Without a depth or a blow count there is no qa.
    EXPECT_ROW(sand("", "10", "0"), "0.0", "10.0", "");
    EXPECT_ROW(sand("", "", ""), "", "", "");
    // A negative torque under a fractional exponent has no ⊿Nd.
    env.addCustomer(QStringLiteral("平方根"), 3, QStringLiteral("砂質土"), QStringLiteral("0, 1, 0.5"),
                    QStringLiteral("0, 1, 1, 1, 1"));
    const calc::RowTexts r = env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("-40"),
                                     QStringLiteral("砂質土"), QStringLiteral("平方根"));
    EXPECT_EQ(r.deltaNd, QString());
    EXPECT_EQ(r.nd, QString());
    // Positive: √4 = 2.0, Nd = 8.0.
    EXPECT_EQ(env.row(QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("40"), QStringLiteral("砂質土"),
                      QStringLiteral("平方根"))
                  .nd,
              QStringLiteral("8.0"));
}
