#include "db/database_salvage.h"

#include "db/engine_error_map.h"
#include "db/sqlite_calls.h"
#include "db/sqlite_trigram_index.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <optional>

#include <sqlite3.h>

namespace vortan::db {

namespace {

constexpr std::int64_t kFirstRowid = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kLastRowid = std::numeric_limits<std::int64_t>::max();

class Connection {
public:
    Connection(const QString& path, int flags)
    {
        const QByteArray name = QDir::toNativeSeparators(path).toUtf8();
        if (sqlite3_open_v2(name.constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            const Failure failure = db_ ? lastError(db_, EngineSituation::Open)
                                        : engineFailure(err::OutOfMemory, QStringLiteral("メモリが足りません。"));
            sqlite3_close_v2(db_);
            throw failure;
        }
        sqlite3_extended_result_codes(db_, 1);
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A prepared statement that reports failures by its step result instead of
// throwing: the salvage goes on past them.
class Query {
public:
    Query(sqlite3* db, const QString& sql)
    {
        sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * 2), &stmt_, nullptr);
    }
    ~Query() { sqlite3_finalize(stmt_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool prepared() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }
    // SQLITE_ROW, SQLITE_DONE or the failure's code; an unprepared query fails.
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    void restartAt(std::int64_t rowid)
    {
        sqlite3_reset(stmt_);
        sqlite3_bind_int64(stmt_, 1, rowid);
    }
    QString text(int column) const
    {
        const void* data = sqlite3_column_text16(stmt_, column);
        return data ? QString::fromUtf16(static_cast<const char16_t*>(data)) : QString();
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

QString quotedName(const QString& name)
{
    QString out = name;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

struct SchemaEntry {
    QString type;
    QString name;
    QString sql;
};

bool isInternal(const QString& name)
{
    return name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

// The definitions that can still be read, in the order they were made. A
// damaged part of the list ends it there.
std::vector<SchemaEntry> readableSchema(sqlite3* db)
{
    std::vector<SchemaEntry> entries;
    Query query(db, QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY rowid"));
    while (query.step() == SQLITE_ROW)
        entries.push_back({query.text(0), query.text(1), query.text(2)});
    return entries;
}

// The substring indexes among the definitions. Their tables and triggers
// are not copied: each is created afresh over the rows that were.
std::vector<TrigramIndex> substringIndexes(const std::vector<SchemaEntry>& schema)
{
    std::vector<TrigramIndex> indexes;
    for (const SchemaEntry& entry : schema)
        if (entry.type == u"table")
            if (auto index = trigramIndexOf(entry.sql))
                indexes.push_back(std::move(*index));
    return indexes;
}

// A search of a table at one rowid: whether the table could be searched
// there, and the first rowid at or after it (none when `end`).
struct Probe {
    bool readable = false;
    bool end = false;
    std::int64_t rowid = 0;
};

class TableCopy {
public:
    TableCopy(sqlite3* from, sqlite3* to, const QString& table, const QStringList& columns)
        : probe_(from, QStringLiteral("SELECT rowid FROM %1 WHERE rowid >= ?1 ORDER BY rowid LIMIT 1")
                           .arg(quotedName(table)))
        , select_(from, selectText(table, columns))
        , insert_(to, insertText(table, columns))
        , to_(to)
        , width_(int(columns.size()) + 1)
    {
    }

    // Copies the rows; false when the target could not be written (the
    // failure is the target connection's last error).
    bool run(SalvagedTable& result)
    {
        if (!select_.prepared() || !probe_.prepared()) {
            result.unreadableParts = true;
            return insert_.prepared();
        }
        if (!insert_.prepared())
            return false;
        std::int64_t next = kFirstRowid;
        for (;;) {
            select_.restartAt(next);
            int rc;
            while ((rc = select_.step()) == SQLITE_ROW) {
                const std::int64_t rowid = sqlite3_column_int64(select_.get(), 0);
                if (!insertCurrent(result))
                    return false;
                if (rowid == kLastRowid)
                    return true;
                next = rowid + 1;
            }
            if (rc == SQLITE_DONE)
                return true;
            result.unreadableParts = true;
            const std::optional<std::int64_t> resume = resumeAfterFailureAt(next);
            if (!resume)
                return true;
            next = *resume;
        }
    }

private:
    static QString selectText(const QString& table, const QStringList& columns)
    {
        QStringList names;
        for (const QString& column : columns)
            names << quotedName(column);
        return QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid >= ?1 ORDER BY rowid")
            .arg(names.join(QStringLiteral(", ")), quotedName(table));
    }

    static QString insertText(const QString& table, const QStringList& columns)
    {
        QStringList names{QStringLiteral("rowid")};
        QStringList places{QStringLiteral("?")};
        for (const QString& column : columns) {
            names << quotedName(column);
            places << QStringLiteral("?");
        }
        return QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)")
            .arg(quotedName(table), names.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")));
    }

    bool insertCurrent(SalvagedTable& result)
    {
        sqlite3_stmt* insert = insert_.get();
        sqlite3_reset(insert);
        for (int i = 0; i < width_; ++i)
            sqlite3_bind_value(insert, i + 1, sqlite3_column_value(select_.get(), i));
        if (sqlite3_step(insert) != SQLITE_DONE)
            return false;
        result.rows += sqlite3_changes(to_);
        return true;
    }

    Probe probeAt(std::int64_t rowid)
    {
        probe_.restartAt(rowid);
        const int rc = probe_.step();
        if (rc == SQLITE_ROW)
            return {true, false, sqlite3_column_int64(probe_.get(), 0)};
        return {rc == SQLITE_DONE, rc == SQLITE_DONE, 0};
    }

    // The scan stopped at the first row at or after `next`. When the table
    // can be searched there, that row's own record is broken: go on after
    // it. Otherwise a page is broken: find the first place after `next`
    // where the table can be searched again, doubling the distance and then
    // halving back. nullopt: nothing after it can be read.
    std::optional<std::int64_t> resumeAfterFailureAt(std::int64_t next)
    {
        const Probe here = probeAt(next);
        if (here.readable)
            return here.end || here.rowid == kLastRowid ? std::nullopt : std::optional(here.rowid + 1);
        std::int64_t failing = next;
        std::int64_t readable = 0;
        bool found = false;
        for (std::int64_t distance = 1; distance > 0; distance *= 2) {
            if (next > kLastRowid - distance)
                break;
            const Probe probe = probeAt(next + distance);
            if (probe.readable) {
                readable = next + distance;
                found = true;
                break;
            }
            failing = next + distance;
            if (distance > kLastRowid / 2)
                break;
        }
        if (!found)
            return std::nullopt;
        while (readable - failing > 1) {
            const std::int64_t middle = failing + (readable - failing) / 2;
            if (probeAt(middle).readable)
                readable = middle;
            else
                failing = middle;
        }
        return readable;
    }

    Query probe_;
    Query select_;
    Query insert_;
    sqlite3* to_;
    int width_;
};

QStringList columnsOf(sqlite3* db, const QString& table)
{
    QStringList columns;
    Query query(db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    if (!query.prepared())
        return columns;
    sqlite3_bind_text16(query.get(), 1, table.utf16(), int(table.size() * 2), SQLITE_TRANSIENT);
    while (query.step() == SQLITE_ROW)
        columns << query.text(0);
    return columns;
}

void runOrThrow(sqlite3* db, const QString& sql)
{
    runSql(db, sql.toUtf8(), EngineSituation::Statement);
}

// The counters of AUTOINCREMENT tables, so that numbers handed out before
// the damage are not handed out again.
void copySequences(sqlite3* from, sqlite3* to)
{
    Query read(from, QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
    Query write(to, QStringLiteral("UPDATE sqlite_sequence SET seq = ?2 WHERE name = ?1 AND seq < ?2"));
    Query add(to, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?1, ?2 "
                                 "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?1)"));
    if (!read.prepared() || !write.prepared() || !add.prepared())
        return;
    while (read.step() == SQLITE_ROW) {
        for (Query* change : {&write, &add}) {
            sqlite3_reset(change->get());
            sqlite3_bind_value(change->get(), 1, sqlite3_column_value(read.get(), 0));
            sqlite3_bind_value(change->get(), 2, sqlite3_column_value(read.get(), 1));
            if (change->step() != SQLITE_DONE)
                throwLastError(to, EngineSituation::Statement);
        }
    }
}

void copyPragma(sqlite3* from, sqlite3* to, const char* pragma)
{
    Query read(from, QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma)));
    if (read.step() == SQLITE_ROW)
        runOrThrow(to, QStringLiteral("PRAGMA %1 = %2").arg(QLatin1String(pragma))
                           .arg(sqlite3_column_int64(read.get(), 0)));
}

} // namespace

std::vector<SalvagedTable> salvageDatabase(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target))
        throw engineFailure(jeterr::DatabaseExists, QStringLiteral("データベース「%1」はすでにあります。").arg(target));
    // Opened for writing like any program would, so that a transaction a
    // killed program left in the journal is rolled back first; nothing else
    // is written. A schema entry that no longer parses must not stop the
    // others from being read.
    Connection from(source, SQLITE_OPEN_READWRITE);
    sqlite3_exec(from.get(), "PRAGMA writable_schema = ON", nullptr, nullptr, nullptr);
    const std::vector<SchemaEntry> schema = readableSchema(from.get());
    const bool anyTable = std::any_of(schema.begin(), schema.end(), [](const SchemaEntry& entry) {
        return entry.type == u"table" && !isInternal(entry.name);
    });
    if (!anyTable)
        throw engineFailure(err::DbNotDatabase,
                            QStringLiteral("データベース「%1」から読み出せるデータがありません。").arg(source));

    Connection to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // The new file becomes the database only once it is whole and on the
    // disk (the caller copies it into place), so it needs no journal.
    runOrThrow(to.get(), QStringLiteral("PRAGMA journal_mode = OFF"));
    runOrThrow(to.get(), QStringLiteral("PRAGMA synchronous = OFF"));
    copyPragma(from.get(), to.get(), "application_id");
    copyPragma(from.get(), to.get(), "user_version");
    runOrThrow(to.get(), QStringLiteral("BEGIN"));

    // Tables, then their indexes (so that a unique index turns away a
    // duplicate the damage made), then the rows, then the substring indexes
    // made afresh over them, then triggers and views (which must not act on
    // the copied rows).
    const std::vector<TrigramIndex> indexes = substringIndexes(schema);
    std::vector<SalvagedTable> tables;
    for (const SchemaEntry& entry : schema) {
        if (entry.type != u"table" || isInternal(entry.name) || entry.sql.isEmpty()
            || belongsToTrigramIndex(entry.name, indexes))
            continue;
        // A definition that no longer parses takes its table with it.
        if (sqlite3_exec(to.get(), entry.sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            tables.push_back({entry.name, 0, false});
    }
    for (const SchemaEntry& entry : schema) {
        if (entry.type == u"index" && !entry.sql.isEmpty())
            sqlite3_exec(to.get(), entry.sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    for (SalvagedTable& table : tables) {
        TableCopy copy(from.get(), to.get(), table.name, columnsOf(to.get(), table.name));
        if (!copy.run(table))
            throwLastError(to.get(), EngineSituation::Statement);
    }
    copySequences(from.get(), to.get());
    for (const TrigramIndex& index : indexes) {
        // Without it the search reads the whole table, and the next start
        // creates it.
        try {
            createTrigramIndex(to.get(), index);
        } catch (const Failure&) {
        }
    }
    for (const SchemaEntry& entry : schema) {
        if ((entry.type == u"trigger" || entry.type == u"view") && !entry.sql.isEmpty()
            && !belongsToTrigramIndex(entry.name, indexes))
            sqlite3_exec(to.get(), entry.sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    runOrThrow(to.get(), QStringLiteral("COMMIT"));
    return tables;
}

std::vector<SalvagedTable> tableRowCounts(const QString& path)
{
    Connection db(path, SQLITE_OPEN_READONLY);
    std::vector<SalvagedTable> tables;
    const std::vector<SchemaEntry> schema = readableSchema(db.get());
    const std::vector<TrigramIndex> indexes = substringIndexes(schema);
    for (const SchemaEntry& entry : schema) {
        if (entry.type != u"table" || isInternal(entry.name) || belongsToTrigramIndex(entry.name, indexes))
            continue;
        const QString count = queryText(db.get(), QStringLiteral("SELECT count(*) FROM %1")
                                                      .arg(quotedName(entry.name)).toUtf8(), QString());
        tables.push_back({entry.name, count.toLongLong(), false});
    }
    return tables;
}

} // namespace vortan::db
