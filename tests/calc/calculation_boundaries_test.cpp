// Every threshold and limit of the calculation exactly at its value and just
// beyond it, and the cohesion at the switch-over of its two branches: a
// comparison taken inclusive, or a switch-over moved, fails one of these.

#include "calc_test_environment.h"

#include "calc/qa_param_record.h"

#include <QFile>
#include <cmath>

using namespace vortan;

namespace {

struct Boundaries : ::testing::Test {
    test::CalcEnvironment env;
    AppSettings& settings() { return env.state.settings; }
    // Without torque Nd is the blow count itself.
    calc::RowTexts row(const char* blows, const char* soil = "砂質土")
    {
        return env.row(QStringLiteral("1.0"), QString::fromUtf8(blows), QStringLiteral("0"), QString::fromUtf8(soil));
    }
    std::optional<double> cohesion(double nd)
    {
        return env.calculator->computeCohesion(nd, QStringLiteral("一般"), QStringLiteral("粘性土"));
    }
};

} // namespace

TEST_F(Boundaries, NdThresholdAndUpperLimitHoldOnlyBeyondTheirValues)
{
    settings().Ndのしきい値を有効にする = true;
    settings().Ndのしきい値 = 3;
    settings().Nd値の上限を有効にする = true;
    settings().Nd値の上限値 = 50;
    const struct {
        const char* blows;
        const char* nd;
    } cases[] = {{"2", "3未満"}, {"3", "3.0"}, {"4", "4.0"}, {"49", "49.0"}, {"50", "50.0"}, {"51", "50以上"}};
    for (const auto& c : cases)
        EXPECT_EQ(row(c.blows).nd, QString::fromUtf8(c.nd)) << c.blows;
}

TEST_F(Boundaries, QaThresholdHoldsOnlyBelowItsValue)
{
    // Clay at 1.0 m with Nd 10: qa = 112.25 (see the penetration tests); the
    // threshold is set to that very single-precision value, then one step up.
    const std::optional<QString> exact = env.calculator->computeQa(
        10.0, QStringLiteral("一般"), QStringLiteral("粘性土"), 1.0, env.calculator->bearingFactorTable());
    ASSERT_TRUE(exact.has_value());
    const float qa = exact->toFloat();
    settings().qaのしきい値を有効にする = true;
    settings().qaのしきい値 = qa;
    EXPECT_EQ(row("10", "粘性土").qa, QStringLiteral("112.3"));
    settings().qaのしきい値 = std::nextafter(qa, INFINITY);
    EXPECT_TRUE(row("10", "粘性土").qa.endsWith(QStringLiteral("未満"))) << row("10", "粘性土").qa.toStdString();
}

TEST_F(Boundaries, CohesionTakesItsUpperBranchFromP37On)
{
    // Clay's record rewritten: c = 100 from Nd = 4 on (P37..P42), c = 1 below (P43..P47).
    QFile file(env.files.qaParameterFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bool rewritten = false;
    for (qsizetype at = 0; at + 240 <= bytes.size(); at += 240) {
        calc::QaParamRecord r = calc::decodeQaParamRecord(QByteArrayView(bytes).sliced(at, 240));
        if (calc::qaRecordSoil(r.soilName) != u"粘性土")
            continue;
        r.p.fill(0);
        r.p[36] = 4;      // P37: the switch-over
        r.p[37] = 100;    // P38
        r.p[41] = 1;      // P42, a divisor
        r.p[42] = 1;      // P43
        r.p[46] = 1;      // P47, a divisor
        bytes.replace(at, 240, calc::encodeQaParamRecord(r));
        rewritten = true;
    }
    ASSERT_TRUE(rewritten);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    EXPECT_EQ(cohesion(4.0), 100.0);
    EXPECT_EQ(cohesion(50.0), 100.0);
    EXPECT_EQ(cohesion(std::nextafter(4.0, 0.0)), 1.0);
    EXPECT_EQ(cohesion(0.0), 1.0);
}
