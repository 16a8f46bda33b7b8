// vortan-cli run as a child process: the global options, the usage errors,
// init-db and sql on temporary copies of the shipped default files.

#include "core/failure.h"
#include "db/database.h"
#include "support/cli_runner.h"
#include "support/test_databases.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace vortan;
using vortan::test::cliEnvironment;
using vortan::test::runCli;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class CliTest : public ::testing::Test {
protected:
    vortan::test::ShippedFilesCopy files;
    QString settings;
    QProcessEnvironment environment;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        settings = files.writeSettingsFile();
        ASSERT_FALSE(settings.isEmpty());
        environment = cliEnvironment(settings);
    }

    vortan::test::CliResult run(const QStringList& arguments) { return runCli(arguments, environment); }
};

TEST_F(CliTest, SelectPrintsColumnNamesAndTabSeparatedRows)
{
    const auto result = run({"sql", "select mst土質.* from mst土質 ORDER BY xNo ;"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), (QStringList{"xNo\t土質名\t表示色", "1\t砂質土\t8454143", "2\t粘性土\t3368601",
                                              "3\t礫質土\t3381759", "4\t腐植土\t2636880", "5\tローム\t2642112"}));
}

TEST_F(CliTest, ChangingStatementPrintsTheRowsChangedAndTheChangeStays)
{
    auto result = run({"sql", "INSERT INTO 測点データ (調査地区No,測点No,貫入深さ,打撃回数,トルク,記事) "
                              "VALUES (7, 'A1', 0.25, 3, 1.5, 'a\tb');"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), QStringList{"1"});

    result = run({"sql", "update mstRNd値計算式 set B = 0.5 where 土質名 <> 'ローム' ;"});
    EXPECT_EQ(result.outLines(), QStringList{"4"});

    // Null fields print empty, numbers as their shortest text, a tab inside a text as a blank.
    result = run({"sql", "select 調査地区No, 測点No, 日付, 貫入深さ, 打撃回数, トルク, 記事 from 測点データ"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.outLines(), (QStringList{"調査地区No\t測点No\t日付\t貫入深さ\t打撃回数\tトルク\t記事",
                                              "7\tA1\t\t0.25\t3\t1.5\ta b"}));
}

TEST_F(CliTest, FailingStatementIsReportedOnTheErrorStream)
{
    const QByteArray before = fileHash(files.surveyDatabase());
    // Told in Japanese, never in the engine's words: the column and its
    // length, or the place of a syntax error in the statement as typed.
    const std::pair<const char*, const char*> cases[] = {
        {"INSERT INTO 測点 (調査地区No,測点No) VALUES (1, 'ABCDE');",
         "測点Noが長すぎます（4文字まで保存できます）。 3163Vortan.db"},
        {"select from 測点", "SQL文の8文字目に誤りがあります（「FROM」の付近）: select from 測点 3134Vortan.db"},
        {"selec 1", "SQL文の1文字目に誤りがあります（使えない種類の文です）: selec 1 3134Vortan.db"},
    };
    for (const auto& [statement, message] : cases) {
        const auto result = run({"sql", statement});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_EQ(result.err.trimmed().split('\n').last(), QString::fromUtf8(message));
    }
    EXPECT_EQ(fileHash(files.surveyDatabase()), before);
}

TEST_F(CliTest, DatabaseOptionsTakeThePlaceOfTheStoredPaths)
{
    // A second survey database that only the --db option names.
    const QString other = files.path("other.mdb");
    ASSERT_TRUE(vortan::test::copyWritable(files.surveyDatabase(), other));
    auto result = run({"--db", other, "sql", "INSERT INTO mst姓名 (姓名) VALUES ('山田');"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    result = run({"sql", "select mst姓名.* from mst姓名;"});
    EXPECT_EQ(result.outLines(), QStringList{"姓名"});
    // Options in any order before the command.
    result = run({"--postal", files.postalDatabase(), "--db", other, "--ini-dir", files.folder(), "sql",
                  "select mst姓名.* from mst姓名;"});
    EXPECT_EQ(result.outLines(), (QStringList{"姓名", "山田"}));
    // --settings names the settings file instead of VORTAN_SETTINGS.
    const QString otherSettings = files.path("other.ini");
    ASSERT_TRUE(vortan::test::writeSettingsFile(otherSettings, {{"etc/データ位置", other},
                                                                {"etc/住所位置", files.postalDatabase()}}));
    result = runCli({"--settings", otherSettings, "sql", "select mst姓名.* from mst姓名;"},
                    cliEnvironment(files.path("absent.ini")));
    EXPECT_EQ(result.outLines(), (QStringList{"姓名", "山田"}));
}

TEST_F(CliTest, InitDbCreatesACurrentDatabaseWithTheDefaults)
{
    const QString created = files.path("new.mdb");
    auto result = run({"init-db", created});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());

    result = run({"--db", created, "sql",
                  "select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;"});
    EXPECT_EQ(result.outLines(), (QStringList{"Value", "1.2"}));
    result = run({"--db", created, "sql", "select mst得意先.得意先名 from mst得意先;"});
    EXPECT_EQ(result.outLines(), (QStringList{"得意先名", "一般"}));
    // The new file is writable.
    result = run({"--db", created, "sql", "INSERT INTO mst天候 (天候名) VALUES ('霧');"});
    EXPECT_EQ(result.outLines(), QStringList{"1"});
}

TEST_F(CliTest, InitDbRefusesAnExistingFile)
{
    const QByteArray before = fileHash(files.surveyDatabase());
    const auto result = run({"init-db", files.surveyDatabase()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("はすでにあります")) << result.err.toStdString();
    EXPECT_EQ(fileHash(files.surveyDatabase()), before);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndTheUsageText)
{
    const QList<QStringList> wrong{
        {},
        {"no-such-command"},
        {"--db"},
        {"--bogus", "sql", "select 1"},
        {"sql"},
        {"sql", "select 1", "extra"},
        {"init-db"},
    };
    for (const QStringList& arguments : wrong) {
        const auto result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("使い方: vortan-cli")) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST_F(CliTest, HelpListsTheOptionsAndCommands)
{
    const auto result = run({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* word : {"--settings FILE", "--db FILE", "--postal FILE", "--ini-dir DIR", "init-db FILE",
                             "sql STATEMENT"})
        EXPECT_TRUE(result.out.contains(QString::fromUtf8(word))) << word;
}

} // namespace
