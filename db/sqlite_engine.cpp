#include "db/sqlite_engine.h"

#include "db/column_rebuild.h"
#include "db/engine_error_map.h"
#include "db/jet_column_type.h"
#include "db/jet_like.h"
#include "db/jet_val.h"
#include "db/jet_sql_translator.h"
#include "db/sqlite_calls.h"
#include "db/sqlite_trigram_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>

namespace vortan::db {

namespace {

// How long a statement waits for another program's lock before it fails:
// 5 seconds, or the milliseconds of the environment variable
// VORTAN_BUSY_TIMEOUT (for sites whose shared database is slow to free, and
// for tests that must not wait long).
int initialBusyTimeout()
{
    bool ok = false;
    const int milliseconds = qEnvironmentVariableIntValue("VORTAN_BUSY_TIMEOUT", &ok);
    return ok && milliseconds >= 0 ? milliseconds : 5000;
}

int g_defaultBusyTimeout = initialBusyTimeout();

// Prepared statements kept per connection; beyond this the cache starts over.
constexpr qsizetype kMaxCachedStatements = 512;

} // namespace

struct SqliteEngine::Impl {
    sqlite3* db = nullptr;
    QString path;
    int busyTimeout = 0;   // as last set, milliseconds
    int depth = 0;
    quint64 prepared = 0;
    quint64 statements = 0;
    QHash<QString, sqlite3_stmt*> cache;
    std::vector<sqlite3_stmt*> inserts;   // the prepared inserts of bulk copies
    QStringList insertTexts;              // their texts, by the same number
    std::vector<std::pair<QString, QStringList>> insertKeys;   // and their tables and columns
    StatementObserver observer;
    JetSqlTranslator translator;
    TranslatedStatement current;
    QStringView currentOriginal;   // the text `current` was translated from, while it runs

    ~Impl() { close(); }

    void close()
    {
        for (sqlite3_stmt* stmt : std::as_const(cache))
            sqlite3_finalize(stmt);
        cache.clear();
        for (sqlite3_stmt* stmt : inserts)
            sqlite3_finalize(stmt);
        inserts.clear();
        insertTexts.clear();
        insertKeys.clear();
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
        depth = 0;
    }

    void requireOpen() const
    {
        if (!db)
            throw Failure(err::ObjectNotSet, QStringLiteral("データベースは閉じられています。"),
                          QString::fromLatin1(kEngineSource));
    }

    // The prepared statement of a translated shape; `original` is the text
    // the caller wrote, in which a syntax error is placed.
    sqlite3_stmt* statementFor(const QString& shape, QStringView original)
    {
        if (sqlite3_stmt* stmt = cache.value(shape))
            return stmt;
        if (cache.size() >= kMaxCachedStatements) {
            for (sqlite3_stmt* old : std::as_const(cache))
                sqlite3_finalize(old);
            cache.clear();
        }
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare16_v3(db, shape.utf16(), int(shape.size() * 2),
                                            SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        ++prepared;
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            const Failure failure = lastError(db, EngineSituation::Statement);
            throw placedInOriginal(failure, original);
        }
        cache.insert(shape, stmt);
        return stmt;
    }

    // A syntax error the engine found near a word of the translated text,
    // told at that word's place in the text the caller wrote.
    Failure placedInOriginal(const Failure& failure, QStringView original) const
    {
        const QString message = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(db)));
        if (failure.number() != err::DbSyntax || !message.startsWith(QLatin1String("near \"")))
            return failure;
        const QString near = message.mid(6).section(QLatin1Char('"'), 0, 0);
        const qsizetype at = original.indexOf(near, 0, Qt::CaseInsensitive);
        return syntaxFailure(original, at, QStringLiteral("「%1」の付近").arg(near));
    }

    static void bind(sqlite3_stmt* stmt, const std::vector<SqlLiteral>& literals)
    {
        int index = 1;
        for (const SqlLiteral& lit : literals) {
            switch (lit.kind) {
            case SqlLiteral::Kind::Integer: sqlite3_bind_int64(stmt, index, lit.integer); break;
            case SqlLiteral::Kind::Real: sqlite3_bind_double(stmt, index, lit.real); break;
            case SqlLiteral::Kind::Text:
                // The text lives until the statement has been stepped and reset.
                sqlite3_bind_text16(stmt, index, lit.text.isNull() ? u"" : lit.text.utf16(),
                                    int(lit.text.size() * 2), SQLITE_STATIC);
                break;
            }
            ++index;
        }
    }

    int executeData()
    {
        sqlite3_stmt* stmt = statementFor(current.sql, currentOriginal);
        bind(stmt, current.literals);
        int rc;
        do {
            rc = sqlite3_step(stmt);
        } while (rc == SQLITE_ROW);
        if (rc != SQLITE_DONE) {
            const Failure failure = lastError(db, EngineSituation::Statement, stmt);
            sqlite3_reset(stmt);
            throw failure;
        }
        sqlite3_reset(stmt);
        return sqlite3_changes(db);
    }

    void observe(QStringView programText, const TranslatedStatement& statement) const
    {
        if (!observer)
            return;
        if (statement.kind == StatementKind::Schema)
            observer(programText, statement.schemaStatements.join(QStringLiteral("; ")));
        else
            observer(programText, statement.sql);
    }

    // The translator looks Like patterns up in the substring indexes the
    // schema holds now.
    void readSubstringIndexes()
    {
        translator.setTrigramIndexedColumns(indexedColumns(readTrigramIndexes(db)));
    }

    void syncDepth()
    {
        // Some failures (a full disk, a lost lock) end the whole transaction.
        if (db && depth > 0 && sqlite3_get_autocommit(db))
            depth = 0;
    }
};

SqliteEngine::SqliteEngine(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

SqliteEngine::~SqliteEngine() = default;

void setDefaultSqliteBusyTimeout(int milliseconds)
{
    g_defaultBusyTimeout = milliseconds;
}

void SqliteEngine::setBusyTimeout(int milliseconds)
{
    d->requireOpen();
    sqlite3_busy_timeout(d->db, milliseconds);
    d->busyTimeout = milliseconds;
}

namespace {

std::unique_ptr<SqliteEngine::Impl> connect(const QString& path, bool creating)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.absoluteDir().exists())
        throw engineFailure(err::DbBadPath, QStringLiteral("'%1' is not a valid path.").arg(path));
    if (creating) {
        if (info.exists())
            throw engineFailure(jeterr::DatabaseExists, QStringLiteral("データベース「%1」はすでにあります。").arg(path));
    } else {
        if (!info.exists() || info.isDir())
            throw engineFailure(err::DbFileNotFound, QStringLiteral("ファイル「%1」が見つかりません。").arg(path));
        // The owner's write permission is the file's read-only attribute; the
        // operating system might let a privileged user write anyway.
        if (!(info.permissions() & QFileDevice::WriteOwner))
            throw engineFailure(err::DbReadOnly, QStringLiteral("ファイル「%1」は読み込み専用です。").arg(path));
        if (info.size() == 0)
            throw engineFailure(err::DbNotDatabase, QStringLiteral("「%1」はデータベースとして読めません。").arg(path));
    }

    auto impl = std::make_unique<SqliteEngine::Impl>();
    impl->path = path;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (creating)
        flags |= SQLITE_OPEN_CREATE;
#ifdef SQLITE_OPEN_EXRESCODE
    flags |= SQLITE_OPEN_EXRESCODE;
#endif
    const int rc = sqlite3_open_v2(QDir::toNativeSeparators(path).toUtf8().constData(), &impl->db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const Failure failure = impl->db ? lastError(impl->db, EngineSituation::Open)
                                         : engineFailure(err::OutOfMemory, QStringLiteral("メモリが足りません。"));
        throw failure;
    }
    sqlite3_extended_result_codes(impl->db, 1);
    // A name in double quotes is always a name: a misspelt column must fail
    // rather than become a text.
    sqlite3_db_config(impl->db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(impl->db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(impl->db, g_defaultBusyTimeout);
    impl->busyTimeout = g_defaultBusyTimeout;
    registerJetLike(impl->db);
    registerJetVal(impl->db);
    // Reading the schema now makes a damaged file, or one that is not a
    // database at all, fail here rather than at its first statement.
    runSql(impl->db, "SELECT count(*) FROM sqlite_master", EngineSituation::Open);
    if (creating)
        runSql(impl->db, "PRAGMA application_id = 1450144372", EngineSituation::Open);
    // Saving a survey deletes its rows and writes them again in one
    // transaction. Each INSERT there keeps a statement journal of the pages it
    // touches; in a temporary file, with the engine's small default page cache
    // spilling dirty pages besides, a 30,000-record save took half a minute.
    // Statement journals in memory and a larger cache make it well under a
    // second.
    runSql(impl->db, "PRAGMA cache_size = -65536", EngineSituation::Open);
    runSql(impl->db, "PRAGMA temp_store = MEMORY", EngineSituation::Open);
    impl->readSubstringIndexes();
    return impl;
}

} // namespace

std::unique_ptr<SqliteEngine> SqliteEngine::open(const QString& path)
{
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(connect(path, false)));
}

std::unique_ptr<SqliteEngine> SqliteEngine::create(const QString& path)
{
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(connect(path, true)));
}

QString SqliteEngine::location() const
{
    return d->path;
}

int SqliteEngine::execute(const QString& sql)
{
    d->requireOpen();
    d->translator.translate(sql, d->current);
    d->currentOriginal = sql;
    ++d->statements;
    d->observe(sql, d->current);
    switch (d->current.kind) {
    case StatementKind::Select:
        throw engineFailure(jeterr::CannotExecuteSelect, QStringLiteral("SELECT文は実行できません（データを読む文としてお使いください）。"));
    case StatementKind::Schema:
        runInSavepoint(d->db, d->current.schemaStatements);
        d->readSubstringIndexes();
        return 0;
    case StatementKind::AlterColumn:
        alterColumnType(d->db, d->current.table, d->current.column, d->current.newType, d->current.newDefault);
        d->readSubstringIndexes();
        return 0;
    default:
        return d->executeData();
    }
}

int SqliteEngine::prepareInsert(const QString& table, const QStringList& columns)
{
    d->requireOpen();
    // The same table and columns again (an import asks once per row): found
    // without building the text.
    for (std::size_t i = 0; i < d->insertKeys.size(); ++i)
        if (d->insertKeys[i].first == table && d->insertKeys[i].second == columns)
            return int(i);
    QStringList names;
    QStringList parameters;
    for (const QString& column : columns) {
        names.append(quotedName(column));
        parameters.append(QStringLiteral("?"));
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quotedName(table), names.join(u','), parameters.join(u','));
    sqlite3_stmt* stmt = nullptr;
    ++d->prepared;
    if (sqlite3_prepare16_v3(d->db, sql.utf16(), int(sql.size() * 2), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr)
        != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throwLastError(d->db, EngineSituation::Statement);
    }
    d->inserts.push_back(stmt);
    d->insertTexts.append(sql);
    d->insertKeys.emplace_back(table, columns);
    return int(d->inserts.size()) - 1;
}

void SqliteEngine::insertRow(int insert, const std::vector<Value>& values)
{
    d->requireOpen();
    sqlite3_stmt* stmt = d->inserts.at(std::size_t(insert));
    ++d->statements;
    if (d->observer)
        d->observer(d->insertTexts.at(insert), d->insertTexts.at(insert));
    int index = 1;
    for (const Value& value : values) {
        const QVariant& v = value.variant();
        switch (v.typeId()) {
        case QMetaType::UnknownType: sqlite3_bind_null(stmt, index); break;
        case QMetaType::LongLong: sqlite3_bind_int64(stmt, index, v.toLongLong()); break;
        case QMetaType::Double: sqlite3_bind_double(stmt, index, v.toDouble()); break;
        case QMetaType::QString: {
            // The text lives in the value until the statement was stepped.
            const QString& text = *static_cast<const QString*>(v.constData());
            sqlite3_bind_text16(stmt, index, text.isNull() ? static_cast<const void*>(u"") : text.utf16(),
                                int(text.size() * 2), SQLITE_STATIC);
            break;
        }
        default: {
            const QString text = value.toText();
            sqlite3_bind_text16(stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
        }
        }
        ++index;
    }
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) {
        const Failure failure = lastError(d->db, EngineSituation::Statement, stmt);
        sqlite3_reset(stmt);
        throw failure;
    }
    sqlite3_reset(stmt);
}

RecordSet SqliteEngine::openRecordSet(const QString& sql)
{
    d->requireOpen();
    d->translator.translate(sql, d->current);
    ++d->statements;
    d->observe(sql, d->current);
    if (d->current.kind != StatementKind::Select)
        throw engineFailure(jeterr::InvalidOperation, QStringLiteral("データを読む文（SELECT文）ではありません。"));
    sqlite3_stmt* stmt = d->statementFor(d->current.sql, sql);
    Impl::bind(stmt, d->current.literals);

    const int columns = sqlite3_column_count(stmt);
    QStringList names;
    QStringList tables;
    std::vector<std::vector<Value>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (names.isEmpty() && columns > 0) {
            for (int c = 0; c < columns; ++c) {
                names.append(QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(stmt, c))));
                const void* table = sqlite3_column_table_name16(stmt, c);
                tables.append(table ? QString::fromUtf16(static_cast<const char16_t*>(table)) : QString());
            }
        }
        std::vector<Value>& row = rows.emplace_back();
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER: row.emplace_back(qint64(sqlite3_column_int64(stmt, c))); break;
            case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(stmt, c)); break;
            case SQLITE_NULL: row.emplace_back(); break;
            default: {
                const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, c));
                row.emplace_back(QString::fromUtf16(text, sqlite3_column_bytes16(stmt, c) / 2));
            }
            }
        }
    }
    if (rc != SQLITE_DONE) {
        const Failure failure = lastError(d->db, EngineSituation::Statement);
        sqlite3_reset(stmt);
        throw failure;
    }
    if (names.isEmpty()) {
        for (int c = 0; c < columns; ++c) {
            names.append(QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(stmt, c))));
            const void* table = sqlite3_column_table_name16(stmt, c);
            tables.append(table ? QString::fromUtf16(static_cast<const char16_t*>(table)) : QString());
        }
    }
    sqlite3_reset(stmt);
    return RecordSet(std::move(names), std::move(tables), std::move(rows));
}

qint64 SqliteEngine::forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit)
{
    d->requireOpen();
    // The statement's own copy: the visitor may translate statements itself.
    TranslatedStatement query;
    d->translator.translate(sql, query);
    ++d->statements;
    d->observe(sql, query);
    if (query.kind != StatementKind::Select)
        throw engineFailure(jeterr::InvalidOperation, QStringLiteral("データを読む文（SELECT文）ではありません。"));
    sqlite3_stmt* stmt = d->statementFor(query.sql, sql);
    // Held out of the cache while its rows are read, so that a statement of
    // the same shape run by the visitor gets a statement of its own.
    d->cache.remove(query.sql);
    struct Release {
        Impl* d;
        sqlite3_stmt* stmt;
        const QString& shape;
        ~Release()
        {
            sqlite3_reset(stmt);
            if (d->db && !d->cache.contains(shape) && d->cache.size() < kMaxCachedStatements)
                d->cache.insert(shape, stmt);
            else
                sqlite3_finalize(stmt);
        }
    } release{d.get(), stmt, query.sql};
    Impl::bind(stmt, query.literals);

    const int columns = sqlite3_column_count(stmt);
    QStringList names;
    QStringList tables;
    names.reserve(columns);
    tables.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        names.append(QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(stmt, c))));
        const void* table = sqlite3_column_table_name16(stmt, c);
        tables.append(table ? QString::fromUtf16(static_cast<const char16_t*>(table)) : QString());
    }
    const RowView row(stmt, names, tables);
    qint64 count = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++count;
        visit(row);
        d->requireOpen();   // a visitor that closed the database ends the reading
    }
    if (rc != SQLITE_DONE)
        throw lastError(d->db, EngineSituation::Statement);
    return count;
}

bool SqliteEngine::indexExists(const QString& name)
{
    if (!d->db)
        return false;
    try {
        // A substring index is a virtual table.
        return !queryText(d->db,
                          "SELECT name FROM sqlite_master WHERE (type = 'index' OR (type = 'table' AND rootpage = 0)) "
                          "AND name = ?1 COLLATE NOCASE",
                          name)
                    .isEmpty();
    } catch (const Failure&) {
        return false;
    }
}

bool SqliteEngine::tableExists(const QString& name)
{
    if (!d->db)
        return false;
    try {
        return !queryText(d->db,
                          "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                          "AND name = ?1 COLLATE NOCASE",
                          name)
                    .isEmpty();
    } catch (const Failure&) {
        return false;
    }
}

bool SqliteEngine::createSubstringIndex(const QString& name, const QString& table, const QString& key,
                                        const QStringList& columns)
{
    d->requireOpen();
    bool exists = false;
    for (const TrigramIndex& index : readTrigramIndexes(d->db))
        exists = exists || index.name.compare(name, Qt::CaseInsensitive) == 0;
    if (exists && !trigramIndexNeedsUpkeep(d->db, name))
        return false;
    // The upkeep of an existing index can wait for another start: while
    // another workstation writes, it gives up at once rather than holding
    // up this one's start for the whole busy timeout.
    struct NoWaiting {
        Impl& d;
        bool on;
        ~NoWaiting()
        {
            if (on)
                sqlite3_busy_timeout(d.db, d.busyTimeout);
        }
    } noWaiting{*d, exists};
    if (exists)
        sqlite3_busy_timeout(d->db, 0);
    beginTransaction(TransactionIntent::Write);
    try {
        bool changed = true;
        if (exists)
            keepTrigramIndexUp(d->db, name);
        else
            changed = createTrigramIndex(d->db, {name, table, key, columns});
        commit();
        d->readSubstringIndexes();
        return changed;
    } catch (...) {
        if (inTransaction())
            rollback();
        throw;
    }
}

QStringList SqliteEngine::tableNames()
{
    d->requireOpen();
    QStringList names;
    // The tables of the program: not the full-text tables of the substring
    // indexes, nor the tables the engine keeps for them.
    for (const QStringList& row : queryRows(d->db, "SELECT name FROM sqlite_master WHERE type = 'table' "
                                                   "AND substr(name, 1, 7) <> 'sqlite_' AND name IN "
                                                   "(SELECT name FROM pragma_table_list WHERE schema = 'main' "
                                                   "AND type = 'table') ORDER BY rowid"))
        names.append(row.value(0));
    return names;
}

QString SqliteEngine::tableDefinition(const QString& table)
{
    d->requireOpen();
    if (!tableExists(table))
        throw engineFailure(err::DbTableNotFound, QStringLiteral("Could not find table '%1'.").arg(table));
    // A counter is the row number of its table, declared AUTOINCREMENT.
    const bool counting = queryText(d->db, "SELECT sql FROM sqlite_master WHERE name = ?1 COLLATE NOCASE", table)
                              .contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
    QStringList columns;
    int keys = 0;
    const auto info = queryRows(d->db, "SELECT name, type, dflt_value, pk FROM pragma_table_info(?1)", table);
    for (const QStringList& row : info)
        keys += row.value(3) != u"0" ? 1 : 0;
    for (const QStringList& row : info) {
        const bool key = row.value(3) != u"0";
        JetColumnType type = jetTypeFromDeclaration(row.value(1));
        if (key && counting && type.type == JetType::Long)
            type.type = JetType::Counter;
        QString column = u'[' + row.value(0) + QStringLiteral("] ") + jetTypeWord(type);
        if (key && keys == 1)
            column += QStringLiteral(" PRIMARY KEY");
        if (!row.value(2).isNull() && !(type.type == JetType::YesNo && row.value(2) == u"0"))
            column += QStringLiteral(" DEFAULT ") + row.value(2);
        columns.append(column);
    }
    return QStringLiteral("CREATE TABLE [%1] (%2)").arg(table, columns.join(QStringLiteral(", ")));
}

std::optional<QString> SqliteEngine::columnDefault(const QString& table, const QString& column)
{
    d->requireOpen();
    if (!tableExists(table))
        throw engineFailure(err::DbTableNotFound, QStringLiteral("Could not find table '%1'.").arg(table));
    for (const QStringList& row : queryRows(d->db, "SELECT name, dflt_value FROM pragma_table_info(?1)", table)) {
        if (row.value(0).compare(column, Qt::CaseInsensitive) == 0)
            return row.value(1).isNull() ? std::nullopt : std::optional<QString>(row.value(1));
    }
    throw engineFailure(err::DbItemNotFound,
                        QStringLiteral("Item not found in this collection: %1.%2").arg(table, column));
}

void SqliteEngine::beginTransaction(TransactionIntent intent)
{
    d->requireOpen();
    d->syncDepth();
    if (d->depth == 0)
        runSql(d->db, intent == TransactionIntent::Write ? "BEGIN IMMEDIATE" : "BEGIN", EngineSituation::Statement);
    else
        runSql(d->db, QStringLiteral("SAVEPOINT vortan_tx_%1").arg(d->depth).toUtf8(), EngineSituation::Statement);
    ++d->depth;
}

void SqliteEngine::commit()
{
    d->requireOpen();
    d->syncDepth();
    if (d->depth == 0)
        throw engineFailure(jeterr::NoTransaction,
                            QStringLiteral("始まっていないトランザクションは終えられません。"));
    if (d->depth == 1)
        runSql(d->db, "COMMIT", EngineSituation::Commit);
    else
        runSql(d->db, QStringLiteral("RELEASE vortan_tx_%1").arg(d->depth - 1).toUtf8(), EngineSituation::Commit);
    --d->depth;
}

void SqliteEngine::rollback()
{
    d->requireOpen();
    d->syncDepth();
    if (d->depth == 0)
        throw engineFailure(jeterr::NoTransaction,
                            QStringLiteral("始まっていないトランザクションは終えられません。"));
    if (d->depth == 1) {
        runSql(d->db, "ROLLBACK", EngineSituation::Statement);
    } else {
        const QByteArray name = QStringLiteral("vortan_tx_%1").arg(d->depth - 1).toUtf8();
        runSql(d->db, "ROLLBACK TO " + name, EngineSituation::Statement);
        runSql(d->db, "RELEASE " + name, EngineSituation::Statement);
    }
    --d->depth;
}

bool SqliteEngine::inTransaction() const
{
    d->syncDepth();
    return d->depth > 0;
}

quint64 SqliteEngine::preparedStatementCount() const
{
    return d->prepared;
}

quint64 SqliteEngine::statementCount() const
{
    return d->statements;
}

void SqliteEngine::setStatementObserver(StatementObserver observer)
{
    d->observer = std::move(observer);
}

QStringList SqliteEngine::queryPlan(const QString& sql)
{
    d->requireOpen();
    TranslatedStatement statement;
    d->translator.translate(sql, statement);
    if (statement.kind == StatementKind::Schema || statement.kind == StatementKind::AlterColumn)
        return {};
    const QString explain = QStringLiteral("EXPLAIN QUERY PLAN ") + statement.sql;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare16_v2(d->db, explain.utf16(), int(explain.size() * 2), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw d->placedInOriginal(lastError(d->db, EngineSituation::Statement), sql);
    }
    Impl::bind(stmt, statement.literals);
    // Rows: id, parent id, unused, detail; a step is indented under its parent.
    QStringList lines;
    QHash<int, int> depthOf;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const int id = sqlite3_column_int(stmt, 0);
        const int depth = depthOf.value(sqlite3_column_int(stmt, 1), -1) + 1;
        depthOf.insert(id, depth);
        const auto* detail = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 3));
        lines.append(QString(depth * 2, u' ') + QString::fromUtf16(detail));
    }
    if (rc != SQLITE_DONE) {
        const Failure failure = lastError(d->db, EngineSituation::Statement);
        sqlite3_finalize(stmt);
        throw failure;
    }
    sqlite3_finalize(stmt);
    return lines;
}

bool SqliteEngine::integrityCheck()
{
    if (!d->db)
        return false;
    // The check asks whether the file's pages and indexes hold together. It
    // leaves out the columns' own conditions (the number and text length
    // checks): a row another program wrote against them is no damage, the
    // compaction keeps it as it is where a salvage would drop it, and on ten
    // years of surveys those conditions made six of the check's seven seconds.
    struct ChecksIgnored {
        sqlite3* db;
        ~ChecksIgnored() { sqlite3_exec(db, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr); }
    } ignored{d->db};
    try {
        runSql(d->db, "PRAGMA ignore_check_constraints = ON", EngineSituation::Statement);
        return queryText(d->db, "PRAGMA integrity_check", QString()) == QLatin1String("ok");
    } catch (const Failure&) {
        return false;
    }
}

void SqliteEngine::compactInto(const QString& target)
{
    d->requireOpen();
    if (QFileInfo::exists(target))
        throw engineFailure(jeterr::DatabaseExists, QStringLiteral("データベース「%1」はすでにあります。").arg(target));
    runSql(d->db, "VACUUM INTO ?1", EngineSituation::Statement, QDir::toNativeSeparators(target));
}

void SqliteEngine::close()
{
    d->close();
}

} // namespace vortan::db
