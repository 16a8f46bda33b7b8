// vortan-cli card-list and card-import, run as child processes over a copy
// of the shipped database and the fixture card file.

#include "intake/intake_test_support.h"
#include "support/cli_runner.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace vortan;
using vortan::test::runCli;

namespace {

// The reporter's message: the last line on the error stream (Qt may warn before it).
QString lastErrorLine(const test::CliResult& result)
{
    return result.err.trimmed().split(QLatin1Char('\n')).last();
}

const QChar Tilde(0xFF5E);

QString cardFixture()
{
    return QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv");
}

struct CardCli {
    test::ShippedFilesCopy files;
    QString settings = files.writeSettingsFile();

    test::CliResult run(QStringList arguments) const
    {
        return runCli(QStringList{"--settings", settings} + arguments, test::cliEnvironment(settings));
    }
    QStringList surveyRows()
    {
        auto db = db::Database::open(files.surveyDatabase());
        return test::surveyTables(*db);
    }
};

} // namespace

TEST(CliCardList, PrintsTheListLinesOfTheCard)
{
    CardCli cli;
    ASSERT_TRUE(cli.files.isValid());
    const test::CliResult result = cli.run({"card-list", cardFixture()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), (QStringList{
                                     QString("    3     1 05/10/01 09:30:05") + Tilde + "05/10/01 09:32:40",
                                     QString("    3     2 05/10/01 09:40:00") + Tilde + "05/10/01 09:41:00",
                                     QString("*    3     2 05/10/01 09:50:00") + Tilde + "05/10/01 09:52:30",
                                     QString("    8     1 05/10/01 23:58:00") + Tilde + "05/10/02 00:01:00",
                                 }));

    // A file that is not there lists nothing.
    const test::CliResult missing = cli.run({"card-list", cli.files.path("none.csv")});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_TRUE(missing.out.isEmpty());
}

TEST(CliCardList, AShortRecordFailsWithTheReportersMessage)
{
    CardCli cli;
    ASSERT_TRUE(cli.files.isValid());
    const QString path = cli.files.path("short.csv");
    ASSERT_TRUE(test::writeCp932(path, "ヘッダ①\r\n1,2,3,4,5\r\n"));
    const test::CliResult result = cli.run({"card-list", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(lastErrorLine(result), "カードファイルの2行目の項目が5個しかありません（12個必要です）。 62CardFile");

    EXPECT_EQ(cli.run({"card-list"}).exitCode, 2);
    EXPECT_EQ(cli.run({"card-list", path, "more"}).exitCode, 2);
}

TEST(CliCardImport, StoresTheChosenRunsAsTheSurvey)
{
    CardCli cli;
    ASSERT_TRUE(cli.files.isValid());
    const test::CliResult result = cli.run({"card-import", cardFixture(), "--survey", "12", "--runs", "2,1"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), QStringList{"データを保存しました。"});

    auto db = db::Database::open(cli.files.surveyDatabase());
    db::RecordSet survey = db->openRecordSet("SELECT 調査地区No, 調査開始時刻, 調査終了時刻, 得意先名 FROM 調査地区;");
    ASSERT_EQ(survey.recordCount(), 1);
    EXPECT_EQ(survey.field(0).toText(), "12");
    EXPECT_EQ(survey.field(1).toText(), "0930");
    EXPECT_EQ(survey.field(2).toText(), "0941");
    EXPECT_EQ(survey.field(3).toText(), "一般");
    EXPECT_EQ(test::countRows(*db, "測点 WHERE 調査地区No = 12;"), 2);
    EXPECT_EQ(test::countRows(*db, "測点データ WHERE 調査地区No = 12;"), 5);
}

TEST(CliCardImport, ARefusedSelectionPrintsItsMessageAndStoresNothing)
{
    CardCli cli;
    ASSERT_TRUE(cli.files.isValid());
    const QStringList before = cli.surveyRows();

    test::CliResult result = cli.run({"card-import", cardFixture(), "--survey", "12", "--runs", "1,4"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.outLines(), QStringList{"同一現場Noを選択して下さい。"});

    result = cli.run({"card-import", cardFixture(), "--survey", "12", "--runs", "2,3"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.outLines(), (QStringList{"同一測点Noがあります。", "測点No:2"}));
    EXPECT_EQ(cli.surveyRows(), before);
}

TEST(CliCardImport, ASurveyNumberInUseFailsAndUsageErrorsExitTwo)
{
    CardCli cli;
    ASSERT_TRUE(cli.files.isValid());
    ASSERT_EQ(cli.run({"card-import", cardFixture(), "--survey", "5", "--runs", "1"}).exitCode, 0);
    const QStringList before = cli.surveyRows();

    // Run 1 again as survey 7: without --yes the copy is not stored.
    const test::CliResult copy = cli.run({"card-import", cardFixture(), "--survey", "7", "--runs", "1"});
    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_EQ(copy.outLines().value(0), "このデータは調査地区No 5 に登録済みです。");
    EXPECT_EQ(cli.surveyRows(), before);

    const test::CliResult duplicate = cli.run({"card-import", cardFixture(), "--survey", "5", "--runs", "4"});
    EXPECT_EQ(duplicate.exitCode, 1);
    EXPECT_EQ(lastErrorLine(duplicate), "保存しようとしたデータに重複があります。ご確認ください。3022");
    EXPECT_EQ(cli.surveyRows(), before);

    // A survey number beyond the 32-bit range would stop every later import in add mode.
    const test::CliResult beyond = cli.run({"card-import", cardFixture(), "--survey", "99999999999", "--runs", "4"});
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_EQ(lastErrorLine(beyond), "計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。6");
    // A folder given as the card is named as one.
    const test::CliResult folder = cli.run({"card-list", cli.files.folder()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(lastErrorLine(folder), "「" + QDir::toNativeSeparators(cli.files.folder())
                                         + "」はフォルダです。ファイルを指定してください。 52CardFile");
    EXPECT_EQ(cli.run({"card-import", cardFixture(), "--survey", "6", "--runs", "5"}).exitCode, 2);
    EXPECT_EQ(cli.run({"card-import", cardFixture(), "--survey", "6", "--runs", "0"}).exitCode, 2);
    EXPECT_EQ(cli.run({"card-import", cardFixture(), "--runs", "1"}).exitCode, 2);
    EXPECT_EQ(cli.run({"card-import", "--survey", "6", "--runs", "1"}).exitCode, 2);
    EXPECT_EQ(cli.surveyRows(), before);
}
