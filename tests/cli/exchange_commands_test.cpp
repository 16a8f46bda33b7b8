// vortan-cli export and import, run as child processes over a copy of the
// shipped database.

#include "intake/exchange_failure.h"
#include "intake/exchange_test_data.h"
#include "intake/intake_test_support.h"
#include "support/cli_runner.h"

#include <gtest/gtest.h>

using namespace vortan;
using vortan::test::runCli;

namespace {

// The reporter's message: the last line on the error stream (Qt may warn before it).
QString lastErrorLine(const test::CliResult& result)
{
    return result.err.trimmed().split(QLatin1Char('\n')).last();
}

struct ExchangeCli {
    test::ShippedFilesCopy files;
    QString settings = files.writeSettingsFile();

    test::CliResult run(QStringList arguments) const
    {
        return runCli(QStringList{"--settings", settings} + arguments, test::cliEnvironment(settings));
    }
    void storeSurveys(std::initializer_list<int> numbers)
    {
        db::Workspace workspace;
        workspace.openSurvey(files.surveyDatabase());
        db::SurveyStore store(workspace);
        for (int number : numbers)
            test::storeExchangeSurvey(store, number);
    }
    QStringList surveyRows()
    {
        auto db = db::Database::open(files.surveyDatabase());
        return test::surveyTables(*db);
    }
};

} // namespace

TEST(CliExport, WritesAllSurveysOrOne)
{
    ExchangeCli cli;
    ASSERT_TRUE(cli.files.isValid());
    cli.storeSurveys({5, 9});
    const QString file = cli.files.path("out.csv");

    test::CliResult result = cli.run({"export", file});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), QStringList{"データを保存しました。"});
    EXPECT_EQ(test::readBytes(file), cp932::encode(test::exchangeSurveyLines(5) + test::exchangeSurveyLines(9)));

    result = cli.run({"export", file, "--survey", "９"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(test::readBytes(file), cp932::encode(test::exchangeSurveyLines(9)));

    // A survey without records: nothing is written, the file stays.
    result = cli.run({"export", file, "--survey", "77"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines(), QStringList{"データが存在しないため保存できせんでした｡"});
    EXPECT_EQ(test::readBytes(file), cp932::encode(test::exchangeSurveyLines(9)));

    result = cli.run({"export", cli.files.path("other.csv"), "--survey", "abc"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.outLines(), QStringList{"調査地区Noの欄に数値を入れて実行して下さい｡"});
    EXPECT_FALSE(QFile::exists(cli.files.path("other.csv")));

    EXPECT_EQ(cli.run({"export"}).exitCode, 2);
    EXPECT_EQ(cli.run({"export", file, "--bogus"}).exitCode, 2);
}

TEST(CliImport, AddsUnderNewNumbersOrReplaces)
{
    ExchangeCli cli;
    ASSERT_TRUE(cli.files.isValid());
    cli.storeSurveys({5, 9});
    const QStringList before = cli.surveyRows();
    const QString file = cli.files.path("all.csv");
    ASSERT_EQ(cli.run({"export", file}).exitCode, 0);

    // Replace mode: the database is as it was, but for point 3 of each
    // survey, which has no records and so was not in the file.
    test::CliResult result = cli.run({"import", file, "--replace"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), (QStringList{"データを読み込みました。", "調査地区No 5, 9 を置き換えました。"}));
    QStringList expected = before;
    expected.removeIf([](const QString& row) {
        return row.startsWith("測点:5|3|") || row.startsWith("測点:9|3|");
    });
    EXPECT_EQ(expected.size(), before.size() - 2);
    EXPECT_EQ(cli.surveyRows(), expected);

    // Add mode: the two surveys again, as 10 and 11.
    result = cli.run({"import", file});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), (QStringList{"データを読み込みました。", "調査地区No 10～11 を追加しました。"}));
    auto db = db::Database::open(cli.files.surveyDatabase());
    db::RecordSet numbers = db->openRecordSet("SELECT 調査地区No FROM 調査地区 ORDER BY 調査地区No;");
    QStringList found;
    for (; !numbers.eof(); numbers.moveNext())
        found.append(numbers.field(0).toText());
    EXPECT_EQ(found, (QStringList{"5", "9", "10", "11"}));
}

TEST(CliImport, AFileOfAnotherKindOrAMissingFileFailsAndChangesNothing)
{
    ExchangeCli cli;
    ASSERT_TRUE(cli.files.isValid());
    cli.storeSurveys({5});
    const QStringList before = cli.surveyRows();

    const QString card = QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv");
    test::CliResult result = cli.run({"import", card});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lastErrorLine(result), intake::ExchangeVersionMessage);
    EXPECT_EQ(cli.surveyRows(), before);

    result = cli.run({"import", cli.files.path("missing.csv"), "--replace"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lastErrorLine(result),
              "指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。");
    EXPECT_EQ(cli.surveyRows(), before);

    EXPECT_EQ(cli.run({"import"}).exitCode, 2);
    EXPECT_EQ(cli.run({"import", card, "--add"}).exitCode, 2);
}
