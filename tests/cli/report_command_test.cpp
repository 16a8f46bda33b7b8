// vortan-cli report and page-count, run as child processes over copies of
// the shipped default files: page counts, PDF pages written and the range.

#include "db/database.h"
#include "support/cli_runner.h"
#include "support/pdf_pages.h"
#include "support/qstring_printer.h"
#include "support/sql_fixture.h"
#include "support/test_databases.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

struct ReportCommand : ::testing::Test {
    test::ShippedFilesCopy files;
    QString settings;
    QProcessEnvironment env;
    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        test::runSqlFixture(*db::Database::open(files.surveyDatabase()), QStringLiteral("report_survey.sql"));
        settings = files.writeSettingsFile();
        env = test::cliEnvironment(settings);
    }
    test::CliResult cli(QStringList arguments) { return test::runCli(QStringList{"--settings", settings} + arguments, env); }
};

TEST_F(ReportCommand, PageCountCountsThePagesOfTheMarkedPoints)
{
    test::CliResult run = cli({"page-count", "--survey", "7", "--type", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outLines(), QStringList{"3"});   // 2 + 1; the unmarked point prints none
    run = cli({"page-count", "--survey", "7", "--type", "2"});
    EXPECT_EQ(run.outLines(), QStringList{"1"});   // 2 marked points, 5 to a page
    run = cli({"page-count", "--survey", "7", "--type", "4"});
    EXPECT_EQ(run.exitCode, 2);
}

TEST_F(ReportCommand, ASurveyWithoutAMarkedPointWritesNoFileAndSaysSo)
{
    auto db = db::Database::open(files.surveyDatabase());
    db->execute(QStringLiteral("UPDATE 測点 SET 印刷 = False WHERE 調査地区No = 7;"));
    db->close();
    test::CliResult run = cli({"page-count", "--survey", "7", "--type", "2"});
    EXPECT_EQ(run.outLines(), QStringList{"0"});
    const QString none = files.path(QStringLiteral("none.pdf"));
    run = cli({"report", "--survey", "7", "--type", "1", "--pdf", none});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("印刷する測点がありません。"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));
}

TEST_F(ReportCommand, WritesTheReportIntoAPdfFileWithTheChosenRange)
{
    const QString all = files.path(QStringLiteral("all.pdf"));
    test::CliResult run = cli({"report", "--survey", "7", "--type", "1", "--pdf", all});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::pdfPageCount(all), 3);   // the unmarked point is not printed
    EXPECT_TRUE(run.out.contains(QStringLiteral("3ページを ")));

    const QString second = files.path(QStringLiteral("second.pdf"));
    run = cli({"report", "--survey", "7", "--type", "1", "--pdf", second, "--from", "2", "--to", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::pdfPageCount(second), 1);

    const QString chart = files.path(QStringLiteral("chart.pdf"));
    run = cli({"report", "--survey", "7", "--type", "2", "--pdf", chart});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::pdfPageCount(chart), 1);

    run = cli({"report", "--survey", "7", "--type", "1"});
    EXPECT_EQ(run.exitCode, 2);
    run = cli({"report", "--survey", "99", "--type", "1", "--pdf", files.path(QStringLiteral("none.pdf"))});
    EXPECT_EQ(run.exitCode, 1);
}

} // namespace

TEST_F(ReportCommand, ASessionWithoutARuntimeFolderPrintsOnlyTheProgramsOwnTexts)
{
    // As in a scheduled job or a container run as root: no XDG_RUNTIME_DIR,
    // which the toolkit would warn about on the error stream.
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const QString pdf = files.path(QStringLiteral("chart.pdf"));
    const QList<QStringList> commands = {
        {"sql", "select mst天候.* from mst天候 ;"},
        {"calc", "--survey", "7"},
        {"page-count", "--survey", "7", "--type", "1"},
        {"report", "--survey", "7", "--type", "2", "--pdf", pdf},
    };
    for (const QStringList& arguments : commands) {
        const test::CliResult run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, QString()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.out.isEmpty()) << arguments.join(' ').toStdString();
    }
}
