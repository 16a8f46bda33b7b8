// vortan-cli calc --survey NO, run as a child process over copies of the
// shipped default files.

#include "db/database.h"
#include "support/cli_runner.h"
#include "support/sql_fixture.h"
#include "support/test_databases.h"

#include <gtest/gtest.h>

using namespace vortan;

namespace {

test::CliResult calc(const QString& settings, const QStringList& arguments)
{
    return test::runCli(QStringList{"--settings", settings, "calc"} + arguments, test::cliEnvironment(settings));
}

} // namespace

TEST(CliCalc, PrintsEveryRecordWithItsComputedValues)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    test::runSqlFixture(*db::Database::open(files.surveyDatabase()), QStringLiteral("cli_calc_survey.sql"));
    const QString settings = files.writeSettingsFile();

    const test::CliResult run = calc(settings, {"--survey", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Points in the sheet's order (by point number), records by depth.
    // A 0.5 m clay, shown 25 N·m: ⊿Nd 1.0, Nd 9.0, c = 56.25,
    //   qa = (1.0·0.5·18 + 5.1·56.25)/3 = 295.875/3 = 98.625.
    // A 1 m sand, Nd 10: 144.75.  B 1 m clay, Nd 10: (18 + 5.1·62.5)/3 = 112.25.
    EXPECT_EQ(run.outLines(), QStringList({"A\t0.5\t10\t25\t粘性土\t\t1.0\t9.0\t98.6",
                                           "A\t1\t10\t0\t砂質土\ta1\t0.0\t10.0\t144.8",
                                           "B\t1\t10\t0\t粘性土\tb1\t0.0\t10.0\t112.3"}));

    // In kN·cm the torque column shows the stored value.
    const QString kncm = files.writeSettingsFile({{QStringLiteral("etc/試験名単位切替"), QStringLiteral("False")}});
    const test::CliResult second = calc(kncm, {"--survey", "3"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(second.outLines().value(0), QStringLiteral("A\t0.5\t10\t2.5\t粘性土\t\t1.0\t9.0\t98.6"));
}

TEST(CliCalc, RefusesUnknownSurveysAndBadArguments)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString settings = files.writeSettingsFile();
    const test::CliResult missing = calc(settings, {"--survey", "42"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains(QStringLiteral("データ登録されていませんでした｡")));
    EXPECT_EQ(calc(settings, {}).exitCode, 2);
}
