// Upgrading survey database files written in the older layouts. Each test
// builds a file in an old layout, opens it in a workspace as start-up does,
// runs the check and looks at what the file holds afterwards.

#include "core/failure.h"
#include "db/database.h"
#include "db/schema_version.h"
#include "db/workspace.h"
#include "support/sql_fixture.h"
#include "support/test_databases.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::db;

namespace {

class SchemaVersionTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("old.mdb"));
    }

    void build(const QStringList& statements)
    {
        auto database = Database::create(path);
        for (const QString& statement : statements)
            database->execute(statement);
        database->close();
    }

    // Opens the file as start-up does and runs the check; returns the version read.
    double check()
    {
        Workspace workspace;
        workspace.openSurvey(path);
        const double version = CheckSchemaVersion(workspace);
        workspace.closeAll();
        return version;
    }

    std::unique_ptr<Database> reopen() { return Database::open(path); }

    static bool hasColumn(Database& database, const QString& table, const QString& column)
    {
        return database.openRecordSet("select " + table + ".* from " + table + " ;").hasField(column);
    }

    static QStringList column(Database& database, const QString& sql, const QString& field)
    {
        QStringList values;
        RecordSet rows = database.openRecordSet(sql);
        for (; !rows.eof(); rows.moveNext())
            values << rows.field(field).toText();
        return values;
    }

    static QString version(Database& database)
    {
        const QStringList values = column(
            database, "select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;",
            "Value");
        return values.join(u'|');
    }

    QByteArray fileHash() const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    static bool fails(Database& database, const QString& sql)
    {
        try {
            database.execute(sql);
            return false;
        } catch (const Failure&) {
            return true;
        }
    }
};

TEST_F(SchemaVersionTest, FileWithoutVersionTableIsBroughtToTheCurrentLayout)
{
    build(test::sqlFixture(QStringLiteral("first_layout.sql")));
    EXPECT_EQ(check(), 0.0);

    auto db = reopen();
    EXPECT_EQ(version(*db), "1.2");
    EXPECT_EQ(column(*db, "select SystemSetting.* from SystemSetting ;", "Key"), QStringList{"DBVersion"});
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "C"));
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "D"));
    EXPECT_TRUE(hasColumn(*db, "測点", "印刷"));
    EXPECT_TRUE(hasColumn(*db, "測点", "印刷測点No"));
    EXPECT_EQ(column(*db, "select mst住所.* from mst住所 ;", "住所"), QStringList{"調査現場"});

    // B = 0.41 became 0.40; other values stay.
    EXPECT_EQ(column(*db, "select mstRNd値計算式.* from mstRNd値計算式 order by 計算式コード, 土質名 ;", "B"),
              (QStringList{"0.4", "0.4", "0.5"}));

    // The rows written before the upgrade are still there; the point, from a
    // release that printed every point, is marked for printing.
    EXPECT_EQ(column(*db, "select 測点.* from 測点 ;", "測点No"), QStringList{"P1"});
    EXPECT_EQ(column(*db, "select 測点.* from 測点 ;", "印刷"), QStringList{"-1"});
    EXPECT_EQ(column(*db, "select 測点データ.* from 測点データ ;", "打撃回数"), QStringList{"3"});
    EXPECT_EQ(column(*db, "select 調査地区.* from 調査地区 ;", "現場名"), QStringList{"東町"});

    // Point numbers now hold four characters in both point tables.
    EXPECT_FALSE(fails(*db, "INSERT INTO 測点 (調査地区No, 測点No, 印刷測点No) VALUES (1, 'ABCD', 'WXYZ');"));
    EXPECT_TRUE(fails(*db, "INSERT INTO 測点 (調査地区No, 測点No) VALUES (1, 'ABCDE');"));
    EXPECT_TRUE(fails(*db, "INSERT INTO 測点 (調査地区No, 測点No, 印刷測点No) VALUES (1, 'A', 'VWXYZ');"));
    EXPECT_FALSE(fails(*db, "INSERT INTO 測点データ (調査地区No, 測点No) VALUES (1, 'ABCD');"));
    EXPECT_TRUE(fails(*db, "INSERT INTO 測点データ (調査地区No, 測点No) VALUES (1, 'ABCDE');"));

    // The added address label table keys on the label of up to eight characters.
    EXPECT_TRUE(fails(*db, "INSERT INTO mst住所 VALUES ( '調査現場' );"));
    EXPECT_TRUE(fails(*db, "INSERT INTO mst住所 VALUES ( '一二三四五六七八九' );"));
    db->close();

    // A second start only reads the version.
    const QByteArray before = fileHash();
    EXPECT_DOUBLE_EQ(check(), 1.2);
    EXPECT_EQ(fileHash(), before);
}

TEST_F(SchemaVersionTest, Version10FileSkipsTheVersionTableAndPointNumberSteps)
{
    build(test::sqlFixture(QStringLiteral("version_1_0_layout.sql")));
    EXPECT_DOUBLE_EQ(check(), 1.0);

    auto db = reopen();
    // Creating SystemSetting a second time would have failed and rolled the
    // whole upgrade back; the version row shows the upgrade went through.
    EXPECT_EQ(version(*db), "1.2");
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "C"));
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "D"));
    EXPECT_TRUE(hasColumn(*db, "測点", "印刷"));
    EXPECT_EQ(column(*db, "select mst住所.* from mst住所 ;", "住所"), QStringList{"調査現場"});
    EXPECT_EQ(column(*db, "select mstRNd値計算式.* from mstRNd値計算式 ;", "B"), QStringList{"0.4"});
    EXPECT_EQ(column(*db, "select 測点.* from 測点 ;", "印刷測点No"), QStringList{"1"});
}

TEST_F(SchemaVersionTest, ColumnDPresentMeansThePrintColumnIsNotAdded)
{
    QStringList layout = test::sqlFixture(QStringLiteral("version_1_0_layout.sql"));
    layout[3] = "CREATE TABLE [mstQa値計算式] ( [計算式コード] Long, [土質名] String(20), [メモ] String(50), "
                "[A] Single, [B] Single, [D] Single, [E] Single, [F] Single, [G] Single );";
    build(layout);
    check();

    auto db = reopen();
    EXPECT_EQ(version(*db), "1.2");
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "C"));
    EXPECT_TRUE(hasColumn(*db, "mstQa値計算式", "D"));
    EXPECT_FALSE(hasColumn(*db, "測点", "印刷"));
}

TEST_F(SchemaVersionTest, CurrentFileIsNotChangedEvenWithoutAddressLabels)
{
    QStringList layout = test::sqlFixture(QStringLiteral("version_1_0_layout.sql"));
    layout[5] = "INSERT INTO SystemSetting VALUES ( 'DBVersion', '1.2' );";
    build(layout);
    // The lookup indexes its tables allow are the one change (see below).
    EXPECT_DOUBLE_EQ(check(), 1.2);
    const QByteArray before = fileHash();
    ASSERT_FALSE(before.isEmpty());

    EXPECT_DOUBLE_EQ(check(), 1.2);

    EXPECT_EQ(fileHash(), before);
    auto db = reopen();
    EXPECT_FALSE(TableExists(*db, "mst住所"));
    EXPECT_FALSE(hasColumn(*db, "mstQa値計算式", "C"));
    EXPECT_EQ(column(*db, "select mstRNd値計算式.* from mstRNd値計算式 ;", "B"), QStringList{"0.41"});
}

TEST_F(SchemaVersionTest, PointsStoredWithoutAPrintMarkArePrintedAndStoredMarksStay)
{
    // A 1.2 file whose print mark column defaults to False, as older files of
    // this layout do: one point unmarked by the user, one marked.
    build({"CREATE TABLE [測点] ( [調査地区No] Long, [測点No] String(4), [印刷] YesNo, [印刷測点No] String(4) );",
           "CREATE TABLE [SystemSetting] ( [Key] String(50) primary key, [Value] String(50) );",
           "INSERT INTO SystemSetting VALUES ( 'DBVersion', '1.2' );",
           "INSERT INTO 測点 (調査地区No, 測点No, 印刷) VALUES (1, 'A', False);",
           "INSERT INTO 測点 (調査地区No, 測点No, 印刷) VALUES (1, 'B', True);"});
    EXPECT_DOUBLE_EQ(check(), 1.2);
    {
        auto db = reopen();
        EXPECT_EQ(version(*db), "1.2");
        // A point inserted without naming the mark, as the imports do, is marked.
        db->execute("INSERT INTO 測点 (調査地区No, 測点No, 印刷測点No) VALUES (2, 'C', 'C');");
        EXPECT_EQ(column(*db, "select 測点.* from 測点 order by 測点No ;", "印刷"), (QStringList{"0", "-1", "-1"}));
        EXPECT_EQ(column(*db, "select 測点.* from 測点 order by 測点No ;", "印刷測点No"), (QStringList{"", "", "C"}));
        // The column still takes only yes and no, and keeps its type.
        db->execute("UPDATE 測点 SET 印刷 = 5 WHERE 測点No = 'A';");
        EXPECT_EQ(column(*db, "select 測点.* from 測点 where 測点No = 'A' ;", "印刷"), QStringList{"-1"});
    }
    // A second start changes nothing.
    const QByteArray before = fileHash();
    check();
    EXPECT_EQ(fileHash(), before);
}

TEST_F(SchemaVersionTest, CurrentFileWithoutLookupIndexesTakesThemInPlace)
{
    // A 1.2 file written before the lookup and substring indexes, holding
    // only the point-number index that the date index has since replaced:
    // the survey tables are read whole to find one survey's points and
    // records, and every survey to find one by a part of its site name.
    build({"CREATE TABLE [調査地区] ( [調査地区No] Long PRIMARY KEY, [得意先名] String(50), [現場名] String(100), "
           "[住所] String(100), [記事] String(255) );",
           "INSERT INTO 調査地区 (調査地区No, 現場名) VALUES (7, '北町工区');",
           "INSERT INTO 調査地区 (調査地区No, 現場名) VALUES (8, '南町工区');",
           "CREATE TABLE [測点] ( [調査地区No] Long, [測点No] String(4), [日付] String(8), "
           "[開始時刻] String(8), [終了時刻] String(8) );",
           "CREATE TABLE [測点データ] ( [調査地区No] Long, [測点No] String(4), [貫入深さ] Single );",
           "CREATE TABLE [SystemSetting] ( [Key] String(50) primary key, [Value] String(50) );",
           "INSERT INTO SystemSetting VALUES ( 'DBVersion', '1.2' );",
           "INSERT INTO 測点 (調査地区No, 測点No, 日付) VALUES (7, 'A', '240102');",
           "INSERT INTO 測点データ (調査地区No, 測点No, 貫入深さ) VALUES (7, 'A', 0.25);",
           "CREATE INDEX [測点の測点No] ON [測点] ([測点No], [日付]);"});
    const QString points = "SELECT 測点.* FROM 測点 WHERE 調査地区No = 7 ORDER BY 調査地区No, 測点No, 日付;";
    const QString records = "SELECT 測点データ.* FROM 測点データ WHERE 調査地区No = 7 AND 測点No = 'A' "
                            "ORDER BY 調査地区No, 測点No, 貫入深さ;";
    const QString copies = "SELECT 測点.調査地区No FROM 測点 WHERE 測点No = 'A' AND 日付 = '240102';";
    const QString sites = "select 調査地区.* from 調査地区 WHERE ( (調査地区.現場名 Like '*北町工*') ) "
                          "ORDER BY 調査地区.調査地区No";
    // The first step of each statement's plan: how the table is read.
    const auto plans = [&](Database& db) {
        QStringList first;
        for (const QString& sql : {points, records, copies, sites})
            first << db.queryPlan(sql).value(0).remove(QStringLiteral("COVERING ")).section(u' ', 0, 4);
        return first.join(u'|').toStdString();
    };
    EXPECT_EQ(plans(*reopen()), "SCAN 測点 USING INDEX 測点の測点No|SCAN 測点データ|SEARCH 測点 USING INDEX 測点の測点No|SCAN 調査地区");

    EXPECT_DOUBLE_EQ(check(), 1.2);
    {
        auto db = reopen();
        EXPECT_EQ(version(*db), "1.2");
        for (const LookupIndex& index : LookupIndexStatements())
            EXPECT_TRUE(db->indexExists(index.name)) << index.name.toStdString();
        EXPECT_TRUE(db->indexExists(SiteTextIndex().name));
        EXPECT_FALSE(db->indexExists("測点の測点No"));
        EXPECT_EQ(plans(*db), "SEARCH 測点 USING INDEX 測点の調査地区|SEARCH 測点データ USING INDEX 測点データの測点|"
                              "SEARCH 測点 USING INDEX 測点の日付|SEARCH 調査地区 USING INTEGER PRIMARY");
        EXPECT_EQ(column(*db, records, "貫入深さ"), QStringList{"0.25"});
        // Filled from the surveys already there, and kept in step with a change.
        EXPECT_EQ(column(*db, sites, "調査地区No"), QStringList{"7"});
        db->execute("UPDATE 調査地区 SET 現場名 = '北町工区二' WHERE 調査地区No = 8;");
        EXPECT_EQ(column(*db, sites, "調査地区No"), (QStringList{"7", "8"}));
    }
    // A second start changes nothing.
    const QByteArray before = fileHash();
    check();
    EXPECT_EQ(fileHash(), before);
}

TEST_F(SchemaVersionTest, FailureWhileShorteningPointNumbersRollsEverythingBack)
{
    QStringList layout = test::sqlFixture(QStringLiteral("first_layout.sql"));
    layout << "INSERT INTO 測点 (調査地区No, 測点No) VALUES (1, 'LONG01');";
    build(layout);

    check();

    auto db = reopen();
    EXPECT_FALSE(TableExists(*db, "SystemSetting"));
    EXPECT_FALSE(TableExists(*db, "mst住所"));
    EXPECT_FALSE(hasColumn(*db, "mstQa値計算式", "C"));
    EXPECT_FALSE(hasColumn(*db, "mstQa値計算式", "D"));
    EXPECT_FALSE(hasColumn(*db, "測点", "印刷"));
    EXPECT_FALSE(hasColumn(*db, "測点", "印刷測点No"));
    EXPECT_EQ(column(*db, "select 測点.* from 測点 ;", "測点No"), (QStringList{"P1", "LONG01"}));
    EXPECT_EQ(column(*db, "select mstRNd値計算式.* from mstRNd値計算式 order by 計算式コード, 土質名 ;", "B"),
              (QStringList{"0.41", "0.41", "0.5"}));
    // Still a file of the long point numbers: the next start tries again.
    EXPECT_FALSE(fails(*db, "INSERT INTO 測点 (調査地区No, 測点No) VALUES (2, 'ABCDE');"));
}

TEST_F(SchemaVersionTest, VersionTableWithoutVersionRowIsAFailureAndChangesNothing)
{
    QStringList layout = test::sqlFixture(QStringLiteral("version_1_0_layout.sql"));
    layout.removeAt(5);
    build(layout);
    const QByteArray before = fileHash();

    Workspace workspace;
    workspace.openSurvey(path);
    try {
        CheckSchemaVersion(workspace);
        FAIL() << "an empty version text must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::TypeMismatch);
    }
    workspace.closeAll();
    EXPECT_EQ(fileHash(), before);
}

TEST_F(SchemaVersionTest, ShippedDatabaseIsCurrentAndStaysByteIdentical)
{
    vortan::test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    path = files.surveyDatabase();
    const QByteArray before = fileHash();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_DOUBLE_EQ(check(), 1.2);
    EXPECT_EQ(fileHash(), before);
}

} // namespace
