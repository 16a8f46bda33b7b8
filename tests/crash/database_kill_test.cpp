// Operations that write the survey database, killed with SIGKILL at many of
// their file-system calls: after every kill the database, opened again, is
// sound and holds exactly the rows of before the operation or exactly those
// of after it, never a part of it.

#include "crash_test_data.h"
#include "support/database_dump.h"
#include "kill_scenario.h"

#include "db/database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

const QString Database = QStringLiteral("VORTAN.MDB");

struct DatabaseKills : ::testing::Test {
    test::ShippedFilesCopy shared;   // postal database and settings folder of every child

    void SetUp() override
    {
        QString reason;
        if (!test::killPointsAvailable(&reason))
            GTEST_SKIP() << reason.toStdString();
        ASSERT_TRUE(shared.isValid());
    }

    static QString inFolder(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

    // The shipped database with surveys already in it.
    void prepareDatabase(const QString& folder, const test::SurveySize& size) const
    {
        ASSERT_TRUE(test::copyWritable(shared.surveyDatabase(), inFolder(folder, Database)));
        ASSERT_TRUE(test::storeLargeSurveys(inFolder(folder, Database), size));
    }

    // The work is big enough for many points, and enough of them were tried.
    static void expectManyKills(const test::KillScenario& scenario, const test::KillScenarioResult& result)
    {
        EXPECT_GE(result.points, 100);
        EXPECT_GE(result.tried, std::min(result.points, scenario.target));
        EXPECT_GT(result.before, 0);
        EXPECT_GT(result.after, 0);
    }

    static QStringList databaseState(const QString& folder)
    {
        const QStringList dump = test::databaseDump(inFolder(folder, Database));
        EXPECT_EQ(dump.value(0).toStdString(), "integrity_check: t:ok") << folder.toStdString();
        return dump;
    }
};

// One line for a file: absent, its rows when it is a sound database, else
// its bytes (a damaged database kept as it was).
QString fileState(const QString& path)
{
    const QString name = QFileInfo(path).fileName() + QStringLiteral(": ");
    if (!QFileInfo::exists(path))
        return name + QStringLiteral("absent");
    const QStringList dump = test::databaseDump(path);
    QFile file(path);
    const QByteArray content = dump.value(0) == u"integrity_check: t:ok" ? dump.join(u'\n').toUtf8()
                               : file.open(QIODevice::ReadOnly)      ? QByteArray("bytes ") + file.readAll()
                                                                     : QByteArray("unreadable");
    return name + QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST_F(DatabaseKills, ImportReplacingSurveys)
{
    // Surveys 1 and 2 are in the database; the file replaces them and adds 3
    // (3 surveys x 5 points x 220 records: 3,300 lines).
    test::KillScenario scenario;
    scenario.name = QStringLiteral("import --replace");
    scenario.prepare = [this](const QString& folder) {
        prepareDatabase(folder, {1, 2, 5, 150});
        writeFile(inFolder(folder, "import.csv"), test::largeExchangeFile({1, 3, 5, 220}));
    };
    scenario.command = [this](const QString& folder) {
        return test::cliCommand(shared, inFolder(folder, Database),
                                {"import", inFolder(folder, "import.csv"), "--replace"});
    };
    scenario.state = databaseState;
    expectManyKills(scenario, test::runKillScenario(scenario));
}

TEST_F(DatabaseKills, CardImport)
{
    // Eight runs of 900 records each become survey 50 beside survey 1.
    test::KillScenario scenario;
    scenario.name = QStringLiteral("card-import");
    scenario.prepare = [this](const QString& folder) {
        prepareDatabase(folder, {1, 1, 2, 10});
        writeFile(inFolder(folder, "card.csv"), test::largeCardFile(5, 8, 900));
    };
    scenario.command = [this](const QString& folder) {
        return test::cliCommand(shared, inFolder(folder, Database),
                                {"card-import", inFolder(folder, "card.csv"), "--survey", "50", "--runs",
                                 "1,2,3,4,5,6,7,8"});
    };
    scenario.state = databaseState;
    expectManyKills(scenario, test::runKillScenario(scenario));
}

TEST_F(DatabaseKills, SurveyDocumentSave)
{
    // Survey 7 (5 points x 360 records) is loaded, edited and saved whole.
    test::KillScenario scenario;
    scenario.name = QStringLiteral("survey document save");
    scenario.prepare = [this](const QString& folder) { prepareDatabase(folder, {7, 1, 5, 360}); };
    scenario.command = [this](const QString& folder) {
        return test::helperCommand(QStringLiteral(VORTAN_CRASH_SAVE_DOCUMENT),
                                   {inFolder(folder, Database), shared.folder(), "7"});
    };
    scenario.state = databaseState;
    expectManyKills(scenario, test::runKillScenario(scenario));
}

TEST_F(DatabaseKills, RepairAndCompact)
{
    // Surveys 1 to 3 are stored and 2 and 3 deleted again, so that compacting
    // makes the file smaller; the compacted copy is made in a scratch file.
    test::KillScenario scenario;
    scenario.name = QStringLiteral("database repair");
    scenario.prepare = [this](const QString& folder) {
        prepareDatabase(folder, {1, 3, 4, 200});
        auto db = db::Database::open(inFolder(folder, Database));
        db->execute(QStringLiteral("DELETE FROM 測点データ WHERE 調査地区No > 1;"));
        db->execute(QStringLiteral("DELETE FROM 測点 WHERE 調査地区No > 1;"));
        db->execute(QStringLiteral("DELETE FROM 調査地区 WHERE 調査地区No > 1;"));
    };
    scenario.command = [](const QString& folder) {
        return test::helperCommand(QStringLiteral(VORTAN_CRASH_REPAIR_DATABASE),
                                   {inFolder(folder, Database), inFolder(folder, "tmpVortan.MDB")});
    };
    // The rows stay the same: the file's size tells the compacted file apart.
    scenario.state = [](const QString& folder) {
        return databaseState(folder)
            << QStringLiteral("size: %1").arg(QFileInfo(inFolder(folder, Database)).size());
    };
    const test::KillScenarioResult result = test::runKillScenario(scenario);
    EXPECT_GT(result.before, 0);
    EXPECT_GT(result.after, 0);
}

TEST_F(DatabaseKills, RepairOfADamagedDatabase)
{
    // A page of records is broken: the readable rows go into a new file that
    // takes the database's place, and the damaged file is kept beside it.
    // Each file on its own is the one of before or the one of after: the
    // database is the damaged file or the salvaged one, the kept original is
    // absent or the whole damaged file.
    test::KillScenario scenario;
    scenario.name = QStringLiteral("repair of a damaged database");
    scenario.prepare = [this](const QString& folder) {
        prepareDatabase(folder, {1, 2, 4, 200});
        ASSERT_TRUE(test::breakDatabasePage(inFolder(folder, Database), -20));
    };
    scenario.command = [](const QString& folder) {
        return test::helperCommand(QStringLiteral(VORTAN_CRASH_REPAIR_DATABASE),
                                   {inFolder(folder, Database), inFolder(folder, "tmpVortan.MDB")});
    };
    scenario.state = [](const QString& folder) {
        return QStringList{fileState(inFolder(folder, Database)),
                           fileState(inFolder(folder, QStringLiteral("VORTAN_修復前.MDB")))};
    };
    scenario.linesOnTheirOwn = true;
    const test::KillScenarioResult result = test::runKillScenario(scenario);
    EXPECT_GT(result.before, 0);
    EXPECT_GT(result.after, 0);
}
