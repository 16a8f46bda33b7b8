// The engine error numbers of failing opens and statements, which the error
// reporter turns into its messages.

#include "db_test_fixture.h"

#include "db/engine_error_map.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class EngineErrors : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE [調査地区] ([調査地区No] Long PRIMARY KEY, [現場名] String(255))"));
        db->beginTransaction();
        for (int no = 1; no <= 200; ++no)
            db->execute(QStringLiteral("INSERT INTO 調査地区 VALUES (%1, '現場%1 %2')").arg(no).arg(QString(200, u'x')));
        db->commit();
        db->close();
    }

    int openFailure(const QString& file)
    {
        return failureNumber([&] { Database::open(file); });
    }

    // A second program on the same file, through SQLite directly.
    struct OtherProgram {
        sqlite3* handle = nullptr;
        explicit OtherProgram(const QString& file)
        {
            sqlite3_open_v2(file.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        }
        ~OtherProgram() { sqlite3_close_v2(handle); }
        int run(const char* sql) { return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr); }
    };
};

TEST_F(EngineErrors, MissingFileFailsWithoutCreatingOne)
{
    const QString missing = path(QStringLiteral("none.mdb"));
    EXPECT_EQ(openFailure(missing), err::DbFileNotFound);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(openFailure(path(QStringLiteral("no folder/none.mdb"))), err::DbBadPath);
    try {
        Database::open(missing);
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.source(), QStringLiteral("Vortan.db"));
        EXPECT_FALSE(failure.description().isEmpty());
    }
    EXPECT_EQ(failureNumber([&] { Database::create(path(QStringLiteral("test.mdb"))); }), jeterr::DatabaseExists);
}

TEST_F(EngineErrors, DamagedAndForeignFilesFailAtOpen)
{
    const QString damaged = path(QStringLiteral("damaged.mdb"));
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("test.mdb")), damaged));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(0);
        file.write(QByteArray(4096, '\xA5'));
    }
    EXPECT_EQ(openFailure(damaged), err::DbNotDatabase);

    const QString text = path(QStringLiteral("notes.mdb"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("調査地区No,現場名\r\n1,山田邸\r\n");
    }
    EXPECT_EQ(openFailure(text), err::DbNotDatabase);

    const QString empty = path(QStringLiteral("empty.mdb"));
    {
        QFile file(empty);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(openFailure(empty), err::DbNotDatabase);
}

TEST_F(EngineErrors, DamagedPagesFailTheIntegrityCheck)
{
    const QString damaged = path(QStringLiteral("pages.mdb"));
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("test.mdb")), damaged));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 4 * 4096);
        file.seek(2 * 4096);
        file.write(QByteArray(2 * 4096, '\x5A'));
    }
    {
        auto opened = Database::open(damaged);
        EXPECT_FALSE(opened->integrityCheck());
    }
}

TEST_F(EngineErrors, ReadOnlyFileFailsAtOpen)
{
    const QString file = path(QStringLiteral("test.mdb"));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    EXPECT_EQ(openFailure(file), err::DbReadOnly);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(openFailure(file), 0);
}

TEST_F(EngineErrors, FileLockedByAnotherProgram)
{
    const QString file = path(QStringLiteral("test.mdb"));
    OtherProgram other(file);
    ASSERT_EQ(other.run("BEGIN IMMEDIATE; INSERT INTO \"調査地区\" VALUES (1000, 'other')"), SQLITE_OK);

    Database::setDefaultBusyTimeout(100);
    auto opened = Database::open(file);
    Database::setDefaultBusyTimeout(5000);
    // Reading still works; writing waits briefly and then gives up.
    EXPECT_EQ(opened->openRecordSet(QStringLiteral("select 調査地区.* from 調査地区")).recordCount(), 200);
    EXPECT_EQ(failureNumber([&] { opened->execute(QStringLiteral("INSERT INTO 調査地区 VALUES (1001, 'mine')")); }),
              err::DbLocked);
    ASSERT_EQ(other.run("COMMIT"), SQLITE_OK);
    EXPECT_EQ(opened->execute(QStringLiteral("INSERT INTO 調査地区 VALUES (1001, 'mine')")), 1);
}

TEST_F(EngineErrors, CommitThatCannotGetTheLock)
{
    const QString file = path(QStringLiteral("test.mdb"));
    auto opened = Database::open(file);
    opened->setBusyTimeout(100);
    opened->beginTransaction();
    opened->execute(QStringLiteral("INSERT INTO 調査地区 VALUES (1001, 'mine')"));

    OtherProgram reader(file);
    sqlite3_stmt* reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(reader.handle, "SELECT * FROM \"調査地区\"", -1, &reading, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);   // holds a shared lock while the statement is open

    EXPECT_EQ(failureNumber([&] { opened->commit(); }), err::DbCommitLocked);
    EXPECT_TRUE(opened->inTransaction());
    sqlite3_finalize(reading);
    opened->commit();
    EXPECT_EQ(opened->openRecordSet(QStringLiteral("select 調査地区.* from 調査地区")).recordCount(), 201);
}

TEST_F(EngineErrors, FileHeldExclusivelyByAnotherProgram)
{
    const QString file = path(QStringLiteral("test.mdb"));
    OtherProgram other(file);
    ASSERT_EQ(other.run("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"), SQLITE_OK);
    Database::setDefaultBusyTimeout(100);
    EXPECT_EQ(openFailure(file), err::DbExclusive);
    Database::setDefaultBusyTimeout(5000);
}

TEST_F(EngineErrors, StatementFailures)
{
    db = Database::open(path(QStringLiteral("test.mdb")));
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 調査地区 VALUES (1, '重複')")), err::DbDuplicateKey);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 無い表 VALUES (1)")), err::DbTableNotFound);
    EXPECT_EQ(failureNumber([&] { db->openRecordSet(QStringLiteral("select mst住所.* from mst住所 ;")); }),
              err::DbTableNotFound);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 調査地区 (調査地区No,無い列) VALUES (1000, 'x')")), err::DbTooFewParameters);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名) VALUES (1000, A01)")), err::DbTooFewParameters);
    EXPECT_EQ(failureNumber([&] { db->openRecordSet(QStringLiteral("select 調査地区.無い列 from 調査地区")); }),
              err::DbTooFewParameters);
    EXPECT_EQ(failing(QStringLiteral("create table 調査地区 (a Long)")), jeterr::TableExists);
    EXPECT_EQ(failing(QStringLiteral("select 調査地区.* from 調査地区")), jeterr::CannotExecuteSelect);
    EXPECT_EQ(failureNumber([&] { db->commit(); }), jeterr::NoTransaction);
    RecordSet rs = db->openRecordSet(QStringLiteral("select 調査地区.* from 調査地区 where 調査地区No = 1"));
    EXPECT_EQ(failureNumber([&] { rs.field(QStringLiteral("C")); }), err::DbItemNotFound);
}

TEST(EngineErrorMap, ExtendedCodesAndSituations)
{
    EXPECT_EQ(engineErrorNumber(SQLITE_BUSY, QString(), EngineSituation::Statement), err::DbLocked);
    EXPECT_EQ(engineErrorNumber(SQLITE_BUSY_SNAPSHOT, QString(), EngineSituation::Commit), err::DbCommitLocked);
    EXPECT_EQ(engineErrorNumber(SQLITE_BUSY, QString(), EngineSituation::Open), err::DbExclusive);
    EXPECT_EQ(engineErrorNumber(SQLITE_READONLY_DBMOVED, QString(), EngineSituation::Statement), err::DbReadOnly);
    EXPECT_EQ(engineErrorNumber(SQLITE_CANTOPEN, QString(), EngineSituation::Open), err::DbFileNotFound);
    EXPECT_EQ(engineErrorNumber(SQLITE_CORRUPT_INDEX, QString(), EngineSituation::Statement), err::DbNotDatabase);
    EXPECT_EQ(engineErrorNumber(SQLITE_CONSTRAINT_CHECK, QStringLiteral("CHECK constraint failed: jet_text_size_a"),
                                EngineSituation::Statement),
              err::DbFieldTooSmall);
    EXPECT_EQ(engineErrorNumber(SQLITE_CONSTRAINT_CHECK, QStringLiteral("CHECK constraint failed: jet_number_a"),
                                EngineSituation::Statement),
              err::DbTypeMismatch);
    EXPECT_EQ(engineErrorNumber(SQLITE_ERROR, QStringLiteral("table t has no column named x"), EngineSituation::Statement),
              err::DbTooFewParameters);
    EXPECT_EQ(engineErrorNumber(SQLITE_ERROR, QStringLiteral("near \"x\": syntax error"), EngineSituation::Statement),
              err::DbSyntax);
}

} // namespace
