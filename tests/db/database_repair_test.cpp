// The database repair: a damaged file gives up only the rows of its broken
// page, keeps its definitions and keeps the damaged original beside it; a
// sound file is compacted; a file with nothing readable is left alone.

#include "db_test_fixture.h"

#include "db/database_repair.h"
#include "support/database_dump.h"
#include "support/test_databases.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

using namespace vortan;
using namespace vortan::db;
using vortan::db::test::failureNumber;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The shipped database with `records` penetration records of survey 1,
// written after everything else so that the file's last pages are leaves
// of the record table.
QString databaseWithRecords(const vortan::test::ShippedFilesCopy& files, int records)
{
    auto db = Database::open(files.surveyDatabase());
    db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No, 現場名) VALUES (1, '修復の現場');"));
    // A table and column whose names hold a double quote are copied too.
    db->execute(QStringLiteral("CREATE TABLE [引用\"符] ([列\"名] Long);"));
    db->execute(QStringLiteral("INSERT INTO [引用\"符] ([列\"名]) VALUES (7);"));
    db->beginTransaction();
    for (int i = 0; i < records; ++i)
        db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No, 測点No, 貫入深さ, 打撃回数, トルク, 推定土質, 記事) "
                                   "VALUES (1, 'P%1', %2, %3, 1.5, 2, '記事%4');")
                        .arg(i / 500).arg((i % 500) * 0.25).arg(i % 37).arg(i));
    db->commit();
    return files.surveyDatabase();
}

const SalvagedTable* tableNamed(const RepairOutcome& outcome, const QString& name)
{
    const auto it = std::find_if(outcome.tables.begin(), outcome.tables.end(),
                                 [&](const SalvagedTable& t) { return t.name == name; });
    return it == outcome.tables.end() ? nullptr : &*it;
}

QStringList linesStartingWith(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& line : lines)
        if (line.startsWith(prefix))
            out << line;
    return out;
}

} // namespace

TEST(DatabaseRepair, ABrokenPageCostsOnlyItsRowsAndTheOriginalIsKept)
{
    vortan::test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString path = databaseWithRecords(files, 3000);
    const QStringList sound = vortan::test::databaseDump(path);
    ASSERT_TRUE(vortan::test::breakDatabasePage(path, -8));
    const QByteArray damagedBytes = fileBytes(path);
    ASSERT_FALSE(Database::open(path)->integrityCheck());

    const QString scratch = files.path(QStringLiteral("scratch.mdb"));
    const RepairOutcome outcome = repairDatabase(path, scratch);

    EXPECT_TRUE(outcome.damaged);
    EXPECT_EQ(outcome.keptOriginal, files.path(QStringLiteral("VORTAN_修復前.MDB")));
    EXPECT_EQ(fileBytes(outcome.keptOriginal), damagedBytes);
    EXPECT_FALSE(QFileInfo::exists(scratch));

    const QStringList repaired = vortan::test::databaseDump(path);
    ASSERT_EQ(repaired.value(0), QStringLiteral("integrity_check: t:ok"));
    // The same tables, indexes and triggers, and no row that was not there.
    EXPECT_EQ(linesStartingWith(repaired, QStringLiteral("schema: ")),
              linesStartingWith(sound, QStringLiteral("schema: ")));
    QStringList missing = sound;
    for (const QString& line : repaired)
        EXPECT_TRUE(missing.removeOne(line)) << line.toStdString();
    // Only records went missing, one page of them, from the middle of the
    // table: the rows after the broken page were read again.
    EXPECT_EQ(linesStartingWith(missing, QStringLiteral("測点データ: ")).size(), missing.size());
    EXPECT_GT(missing.size(), 10);
    EXPECT_LT(missing.size(), 150);
    EXPECT_TRUE(repaired.contains(linesStartingWith(sound, QStringLiteral("測点データ: ")).last()));

    // The report counts what the file now holds, and names the damaged table.
    for (const SalvagedTable& table : outcome.tables) {
        const qsizetype rows = linesStartingWith(repaired, table.name + QStringLiteral(": ")).size();
        EXPECT_EQ(table.rows, rows) << table.name.toStdString();
        EXPECT_EQ(table.unreadableParts, table.name == u"測点データ") << table.name.toStdString();
    }
    ASSERT_NE(tableNamed(outcome, QStringLiteral("測点データ")), nullptr);
    EXPECT_EQ(tableNamed(outcome, QStringLiteral("mst土質"))->rows,
              linesStartingWith(sound, QStringLiteral("mst土質: ")).size());
    EXPECT_EQ(tableNamed(outcome, QStringLiteral("sqlite_sequence")), nullptr);
    // The substring index was made afresh over the salvaged surveys.
    EXPECT_EQ(Database::open(path)
                  ->openRecordSet(QStringLiteral("select 調査地区.* from 調査地区 WHERE ( (調査地区.現場名 Like '*修復の*') ) "
                                                 "ORDER BY 調査地区.調査地区No"))
                  .recordCount(),
              1);
}

TEST(DatabaseRepair, ASoundFileIsCompactedInPlaceWithNothingKeptBeside)
{
    vortan::test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString path = databaseWithRecords(files, 2000);
    Database::open(path)->execute(QStringLiteral("DELETE 測点データ.* FROM 測点データ WHERE 貫入深さ > 10;"));
    // A value another program wrote against a column's condition is no damage:
    // it stays, where a salvage would drop its row.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, "PRAGMA ignore_check_constraints = ON; UPDATE 測点データ SET 打撃回数 = '三' "
                                "WHERE rowid = 7", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
    const QStringList before = vortan::test::databaseDump(path);
    ASSERT_TRUE(before.join(u'\n').contains(QStringLiteral("三")));

    const RepairOutcome outcome = repairDatabase(path, files.path(QStringLiteral("scratch.mdb")));

    EXPECT_FALSE(outcome.damaged);
    EXPECT_TRUE(outcome.keptOriginal.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("VORTAN_修復前.MDB"))));
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("scratch.mdb"))));
    EXPECT_EQ(vortan::test::databaseDump(path), before);
    ASSERT_NE(tableNamed(outcome, QStringLiteral("測点データ")), nullptr);
    EXPECT_EQ(tableNamed(outcome, QStringLiteral("測点データ"))->rows, 4 * 41);
}

TEST(DatabaseRepair, AFileWithNothingReadableIsLeftAsItWas)
{
    vortan::test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString path = files.surveyDatabase();
    struct Case {
        const char* what;
        int page;   // the page broken, 0: the whole file overwritten
    };
    for (const Case& c : {Case{"not a database at all", 0}, Case{"the list of tables broken", 1}}) {
        ASSERT_TRUE(vortan::test::copyWritable(vortan::test::programFile(QStringLiteral("VORTAN.MDB")), path + ".new"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::rename(path + ".new", path));
        if (c.page == 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        } else {
            ASSERT_TRUE(vortan::test::breakDatabasePage(path, c.page));
        }
        const QByteArray bytes = fileBytes(path);
        EXPECT_EQ(failureNumber([&] { repairDatabase(path, files.path(QStringLiteral("scratch.mdb"))); }),
                  err::DbNotDatabase) << c.what;
        EXPECT_EQ(fileBytes(path), bytes) << c.what;
        EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("VORTAN_修復前.MDB")))) << c.what;
        EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("scratch.mdb")))) << c.what;
    }
}

TEST(DatabaseRepair, TheKeptOriginalNeverOverwritesAnEarlierOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* file;
        QStringList existing;
        const char* kept;
    };
    const Case cases[] = {
        {"VORTAN.MDB", {}, "VORTAN_修復前.MDB"},
        {"VORTAN.MDB", {"VORTAN_修復前.MDB"}, "VORTAN_修復前(2).MDB"},
        {"VORTAN.MDB", {"VORTAN_修復前.MDB", "VORTAN_修復前(2).MDB"}, "VORTAN_修復前(3).MDB"},
        {"survey.v2.db", {}, "survey.v2_修復前.db"},
        {"surveys", {}, "surveys_修復前"},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder(dir.filePath(QStringLiteral("case-XXXXXX")));
        for (const QString& name : c.existing) {
            QFile file(QDir(folder.path()).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(keptOriginalPath(QDir(folder.path()).filePath(QString::fromUtf8(c.file))),
                  QDir::toNativeSeparators(QDir(folder.path()).filePath(QString::fromUtf8(c.kept))))
            << c.file;
    }
}
