// Migration throughput: copying an old Access survey database (by default the
// large test file: 600 surveys, 2,400 points, 96,000 records, and the master
// lists) into a new survey database with MigrateLegacyDatabase, reader child
// process, upgrade and final rename included; against, in the same run, a
// bare baseline that reads the same tables with libmdb in this process
// (fetching every row, converting nothing) and inserts the same rows with
// bare prepared SQLite statements in one transaction into tables of the same
// definitions. Prints rows per second of both, their ratio, and medians.
//
//   bench_migrate [FILE] [runs]   (default: the large test file, 3 runs)

#include "migrate/legacy_migration.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <glib.h>
#include <mdbtools.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Table {
    std::string create;                      // its CREATE TABLE text
    std::string insert;                      // INSERT with one parameter per column
    int columns = 0;
    std::vector<std::vector<sqlite3_value*>> rows;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Fetches every row of every user table, binding nothing; returns the rows.
long bareRead(const QString& path)
{
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
        return -1;
    long rows = 0;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!mdb_is_user_table(entry))
            continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table)
            continue;
        mdb_read_columns(table);
        mdb_rewind_table(table);
        while (mdb_fetch_row(table))
            ++rows;
        mdb_free_tabledef(table);
    }
    mdb_close(mdb);
    return rows;
}

// The tables of a migrated database with their rows, kept in memory.
std::vector<Table> loadTables(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::vector<Table> tables;
    sqlite3_stmt* schema = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master WHERE type = 'table'", -1, &schema, nullptr);
    while (sqlite3_step(schema) == SQLITE_ROW) {
        Table& table = tables.emplace_back();
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(schema, 0));
        table.create = reinterpret_cast<const char*>(sqlite3_column_text(schema, 1));
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\"").c_str(), -1, &select, nullptr);
        table.columns = sqlite3_column_count(select);
        table.insert = "INSERT INTO \"" + name + "\" VALUES (?";
        for (int c = 1; c < table.columns; ++c)
            table.insert += ",?";
        table.insert += ")";
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto& row = table.rows.emplace_back();
            for (int c = 0; c < table.columns; ++c)
                row.push_back(sqlite3_value_dup(sqlite3_column_value(select, c)));
        }
        sqlite3_finalize(select);
    }
    sqlite3_finalize(schema);
    sqlite3_close_v2(db);
    return tables;
}

void freeTables(std::vector<Table>& tables)
{
    for (Table& table : tables)
        for (auto& row : table.rows)
            for (sqlite3_value* value : row)
                sqlite3_value_free(value);
}

// Creates the tables (untimed) and inserts their rows with prepared
// statements in one transaction; returns the seconds of the inserts.
double bareInsert(const QString& path, const std::vector<Table>& tables)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    for (const Table& table : tables)
        sqlite3_exec(db, table.create.c_str(), nullptr, nullptr, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Table& table : tables) {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, table.insert.c_str(), -1, &insert, nullptr);
        for (const auto& row : table.rows) {
            for (int c = 0; c < table.columns; ++c)
                sqlite3_bind_value(insert, c + 1, row[std::size_t(c)]);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double seconds = timer.nsecsElapsed() / 1e9;
    sqlite3_close_v2(db);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString file = args.size() > 1
        ? args[1]
        : QStringLiteral(VORTAN_SOURCE_DIR "/tests/fixtures/legacy_mdb/vortan_large.mdb");
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 3;
    QTemporaryDir dir;

    vortan::migrate::MigrationOptions options;
    options.readerProgram = QDir(QStringLiteral(VORTAN_PROGRAM_DIR)).filePath(QStringLiteral("vortan-mdb-reader"));

    std::printf("migration of %s\n", QFile::encodeName(file).constData());
    std::vector<double> ourRates, bareRates, ratios;
    for (int run = 1; run <= runs; ++run) {
        const QString target = dir.filePath(QStringLiteral("migrated%1.mdb").arg(run));
        QElapsedTimer timer;
        timer.start();
        qint64 rows = 0;
        try {
            for (const auto& table : vortan::migrate::MigrateLegacyDatabase(file, target, options).tables)
                rows += table.rows;
        } catch (const std::exception& failure) {
            std::printf("  migration failed: %s\n", failure.what());
            return 1;
        }
        const double ours = timer.nsecsElapsed() / 1e9;

        timer.restart();
        const long read = bareRead(file);
        const double readSeconds = timer.nsecsElapsed() / 1e9;
        std::vector<Table> tables = loadTables(target);
        const double insertSeconds = bareInsert(dir.filePath(QStringLiteral("bare%1.mdb").arg(run)), tables);
        freeTables(tables);
        const double bare = readSeconds + insertSeconds;

        ourRates.push_back(rows / ours);
        bareRates.push_back(rows / bare);
        ratios.push_back(bare / ours);
        std::printf("  run %d: %lld rows; migration %.3f s (%.0f rows/s); bare %.3f s = read %.3f s (%ld rows) "
                    "+ insert %.3f s (%.0f rows/s); ratio %.2f\n",
                    run, static_cast<long long>(rows), ours, rows / ours, bare, readSeconds, read, insertSeconds,
                    rows / bare, bare / ours);
    }
    std::printf("  median: migration %.0f rows/s, bare %.0f rows/s, ratio migration / bare %.2f\n",
                median(ourRates), median(bareRates), median(ratios));
    return 0;
}
