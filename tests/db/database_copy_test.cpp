// Copying a whole survey database to another engine and back: every table
// with every row arrives unchanged (texts with quotes, Null, yes/no, numbers),
// a table the target lacks is created like the source's, and the counter of
// a copied table goes on after the copied values.

#include "db/database.h"
#include "db/database_copy.h"
#include "db/postgres/postgres_admin.h"
#include "support/database_dump.h"
#include "support/test_databases.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::db;

TEST(DatabaseCopy, EveryTableTravelsToAnotherDatabaseAndBackUnchanged)
{
    test::ShippedFilesCopy source;
    ASSERT_TRUE(source.isValid());
    {
        auto db = Database::open(source.surveyDatabase());
        db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,記事) VALUES (5,'O''Neill 邸','');"));
        db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,印刷) VALUES (5,'A1',False);"));
        db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,貫入深さ,打撃回数) VALUES (5,'A1',0.25,3);"));
        db->execute(QStringLiteral("CREATE TABLE [追加表] ([名前] String(10) PRIMARY KEY, [量] Double DEFAULT 1.5)"));
        EXPECT_EQ(surveyCount(*db), 1);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("copy.mdb"));
    test::ServerDatabase server = test::testsUseServer() ? test::ServerDatabase::empty() : test::ServerDatabase();
    const QString back = server.isValid() ? server.uri() : dir.filePath(QStringLiteral("back.mdb"));
    if (server.isValid()) {   // as its administrator makes it: no tables, no extensions
        dropServerDatabase(back);
        createServerDatabase(back);
    }
    {
        auto from = Database::open(source.surveyDatabase());
        auto middle = Database::create(file);
        const std::vector<CopiedTable> copied = copyDatabase(*from, *middle);
        ASSERT_EQ(copied.size(), size_t(from->tableNames().size()));
        // The substring index is no table to copy: the target's next start creates its own.
        EXPECT_FALSE(middle->tableExists(QStringLiteral("調査地区の部分一致")));
        EXPECT_EQ(copied.front().table, QStringLiteral("調査地区"));
        EXPECT_EQ(copied.front().rows, 1);
        // A server database its administrator made empty is set up for the
        // copy; once it holds the surveys it is opened as it is.
        auto target = server.isValid() ? openServerCopyTarget(back) : Database::create(back);
        copyDatabase(*middle, *target);
        if (server.isValid()) {
            EXPECT_EQ(surveyCount(*openServerCopyTarget(back)), 1);
        }
        EXPECT_EQ(target->columnDefault(QStringLiteral("追加表"), QStringLiteral("量")), QStringLiteral("1.5"));
        target->execute(QStringLiteral("INSERT INTO mst土質 (土質名) VALUES ('砂礫');"));
        EXPECT_EQ(target->openRecordSet(QStringLiteral("SELECT xNo FROM mst土質 WHERE 土質名 = '砂礫'")).field(0).toText(),
                  QStringLiteral("6"));
        target->execute(QStringLiteral("DELETE FROM mst土質 WHERE 土質名 = '砂礫';"));
    }
    EXPECT_EQ(test::databaseRows(back), test::databaseRows(source.surveyDatabase()));
    EXPECT_EQ(test::databaseRows(file), test::databaseRows(source.surveyDatabase()));
}
