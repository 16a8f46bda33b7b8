// Files the program rewrites whole, killed with SIGKILL at every file-system
// call of the rewrite: the file the program reads by its name is always the
// old file or the complete new one, and no scratch file left behind looks
// like one the program would read.

#include "crash_test_data.h"
#include "kill_scenario.h"

#include "core/card_drive_file.h"
#include "core/graph_type_file.h"
#include "core/program_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

// "name: size hash" of a file, or "name: missing".
QString fileLine(const QString& folder, const QString& name)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return name + QStringLiteral(": missing");
    const QByteArray bytes = file.readAll();
    return name + QStringLiteral(": %1 bytes, sha1 %2")
                      .arg(bytes.size())
                      .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()));
}

struct FileRewriteKills : ::testing::Test {
    test::ShippedFilesCopy shared;

    void SetUp() override
    {
        QString reason;
        if (!test::killPointsAvailable(&reason))
            GTEST_SKIP() << reason.toStdString();
        ASSERT_TRUE(shared.isValid());
    }
};

} // namespace

TEST_F(FileRewriteKills, ExportOverAnExistingExchangeFile)
{
    // 3 surveys x 5 points x 300 records (4,500 lines) written over an older
    // export of one small survey.
    test::KillScenario scenario;
    scenario.name = QStringLiteral("export");
    scenario.prepare = [this](const QString& folder) {
        const QString database = QDir(folder).filePath("VORTAN.MDB");
        ASSERT_TRUE(test::copyWritable(shared.surveyDatabase(), database));
        ASSERT_TRUE(test::storeLargeSurveys(database, {1, 3, 5, 300}));
        QFile old(QDir(folder).filePath("surveys.csv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(test::largeExchangeFile({1, 1, 2, 10}));
    };
    scenario.command = [this](const QString& folder) {
        return test::cliCommand(shared, QDir(folder).filePath("VORTAN.MDB"),
                                {"export", QDir(folder).filePath("surveys.csv")});
    };
    // The file by its name, and every file the file dialog of the conversion
    // screen offers (*.csv).
    scenario.state = [](const QString& folder) {
        return QStringList{fileLine(folder, "surveys.csv"),
                           QStringLiteral("offered: ")
                               + QDir(folder).entryList({"*.csv"}, QDir::Files).join(QLatin1Char(' '))};
    };
    const test::KillScenarioResult result = test::runKillScenario(scenario);
    EXPECT_GE(result.tried, std::min(result.points, scenario.target));
    EXPECT_GT(result.before, 0);
    EXPECT_GT(result.after, 0);
}

TEST_F(FileRewriteKills, SettingsFolderFiles)
{
    // The settings file, grpType.ini, cfdrive.ini and qaTbl.tbl are rewritten
    // one after the other; each must be whole on its own.
    const QStringList files{"Vortan.ini", "grpType.ini", "cfdrive.ini", "qaTbl.tbl"};
    test::KillScenario scenario;
    scenario.name = QStringLiteral("settings folder files");
    scenario.linesOnTheirOwn = true;
    scenario.prepare = [this](const QString& folder) {
        ASSERT_TRUE(test::writeSettingsFile(QDir(folder).filePath("Vortan.ini"),
                                            {{"etc/データ位置", "/srv/vortan/VORTAN.MDB"}, {"rep/上余白", "15"}}));
        ProgramState state;
        state.graphDataName = QStringLiteral("Nd");
        writeGraphTypeFile(folder, state);
        writeCardDriveFile(folder, QStringLiteral("/media/card"));
        ASSERT_TRUE(test::copyWritable(shared.qaParameterFile(), QDir(folder).filePath("qaTbl.tbl")));
    };
    scenario.command = [](const QString& folder) {
        return test::helperCommand(QStringLiteral(VORTAN_CRASH_REWRITE_FILES), {folder});
    };
    scenario.state = [files](const QString& folder) {
        QStringList lines;
        for (const QString& name : files)
            lines.append(fileLine(folder, name));
        // A scratch file never stands under a name the program reads.
        QStringList names = QDir(folder).entryList(QDir::Files);
        for (const QString& name : files)
            names.removeAll(name);
        for (const QString& name : names)
            EXPECT_FALSE(files.contains(name, Qt::CaseInsensitive)) << name.toStdString();
        return lines;
    };
    const test::KillScenarioResult result = test::runKillScenario(scenario);
    EXPECT_GE(result.tried, std::min(result.points, scenario.target));
    EXPECT_GT(result.between, 0);
}
