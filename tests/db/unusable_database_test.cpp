// A survey database that cannot be used at start-up — damaged or locked by
// another program — ends in the reporter's message for its number, and the
// load writes nothing: the file keeps its bytes. (A missing file is part of
// the program start test; the engine and reporter tests cover the others.)

#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/database.h"
#include "db/program_start.h"
#include "db/workspace.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vortan;
using namespace vortan::db;

namespace {

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class UnusableDatabaseTest : public ::testing::Test {
protected:
    vortan::test::ShippedFilesCopy files;
    vortan::test::RecordingUserInterface ui;
    ProgramState state;
    Workspace workspace;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        Database::setDefaultBusyTimeout(200);
    }
    void TearDown() override
    {
        workspace.closeAll();
        Database::setDefaultBusyTimeout(5000);
    }

    ProgramLoadResult load()
    {
        SettingsStore store(files.writeSettingsFile());
        return LoadProgram(store, state, workspace, ui, ProgramLoadOptions{files.path("program"), {}, {}});
    }
};

const QString DamagedText = QStringLiteral(
    "高い確率で、データベースが損傷しています｡パソコンに問題が発生している可能性（場合によっては"
    "表面化していないだけかもしれません。）があります。パソコンを再起動後、「Windows95，98の場合､"
    "スキャンディスク（ｽﾀ-ﾄ→ﾌﾟﾛｸﾞﾗﾑ→ｱｸｾｻﾘ→ｼｽﾃﾑﾂｰﾙ→ｽｷｬﾝﾃﾞｨｽｸ）」「WindowsNTの場合､"
    "ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚｰﾀ（ｽﾀｰﾄ→ﾌﾟﾛｸﾞﾗﾑ→管理ﾂｰﾙ→ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚ-ﾀ）」によりディスクの修復と"
    "チェックを行った上で、データベースの修復を行ってみてください。それでもこのメッセージが表示される"
    "場合は、パソコン本体の問題を解決した上でVortanの再インストールが必要です。");

TEST_F(UnusableDatabaseTest, DamagedFileShowsTheDamagedMessageAndStaysAsItWas)
{
    // Overwrite the middle of the file: the header still says SQLite, the pages do not.
    {
        QFile file(files.surveyDatabase());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray all = file.readAll();
        ASSERT_GT(all.size(), 8192);
        file.seek(100);
        file.write(QByteArray(all.size() - 200, '\xA5'));
    }
    const QByteArray before = fileDigest(files.surveyDatabase());

    const ProgramLoadResult result = load();

    EXPECT_EQ(result.reached, LoadStep::SurveyDatabase);
    EXPECT_EQ(result.action, 5);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, DamagedText);
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_FALSE(workspace.surveyOpen());
    EXPECT_EQ(fileDigest(files.surveyDatabase()), before);
}

TEST_F(UnusableDatabaseTest, FileLockedByAnotherProgramShowsTheLockedMessage)
{
    // Another program holds the file exclusively for the whole load.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(files.surveyDatabase().toUtf8().constData(), &other,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO mst天候 (天候名) VALUES ('霧');", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);

    const ProgramLoadResult result = load();

    EXPECT_EQ(result.reached, LoadStep::SurveyDatabase);
    ASSERT_EQ(ui.messages().size(), 1u);
    const QString text = ui.lastMessage().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Vortanデータベースが")) && text.contains(QStringLiteral("占有")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("3045")) || text.endsWith(QStringLiteral("3006")))
        << text.toStdString();
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);

    // The other program's change was never ours to see or to keep.
    sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    auto db = Database::open(files.surveyDatabase());
    RecordSet rows = db->openRecordSet(QStringLiteral("select mst天候.* from mst天候 where 天候名 = '霧';"));
    EXPECT_EQ(rows.recordCount(), 0);
}

} // namespace
