#include "db/sqlite_calls.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace vortan::db {

namespace {

class Statement {
public:
    Statement(sqlite3* db, const QByteArray& sql, const QString& parameter, EngineSituation where) : db_(db)
    {
        // Preparing reads the schema, so a lock or damage can show here already.
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK)
            throwLastError(db, where);
        if (!parameter.isNull())
            sqlite3_bind_text16(stmt_, 1, parameter.utf16(), int(parameter.size() * 2), SQLITE_TRANSIENT);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True while there is a row; a failure is thrown for `where`.
    bool step(EngineSituation where)
    {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        const Failure failure = lastError(db_, where, stmt_);
        throw failure;
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

namespace {

// The table a failing INSERT or UPDATE writes, from the statement's text.
QString writtenTable(sqlite3_stmt* stmt)
{
    if (!stmt || !sqlite3_sql(stmt))
        return QString();
    static const QRegularExpression target(
        QStringLiteral("^\\s*(?:INSERT\\s+(?:OR\\s+\\w+\\s+)?INTO|UPDATE(?:\\s+OR\\s+\\w+)?)\\s+"
                       "(?:\"([^\"]+)\"|\\[([^\\]]+)\\]|([^\\s(]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = target.match(QString::fromUtf8(sqlite3_sql(stmt)));
    if (!match.hasMatch())
        return QString();
    for (int group = 1; group <= 3; ++group)
        if (!match.captured(group).isEmpty())
            return match.captured(group);
    return QString();
}

// The declared length of a text column (VARCHAR(n)): of the table the
// statement writes, or the one length all tables give the column; 0 when
// it cannot be told.
int declaredTextLimit(sqlite3* db, const QString& column, sqlite3_stmt* stmt)
{
    try {
        QStringList tables;
        const QString table = writtenTable(stmt);
        if (!table.isEmpty())
            tables.append(table);
        else
            for (const QStringList& row : queryRows(db, "SELECT name FROM sqlite_master WHERE type = 'table'"))
                tables.append(row.value(0));
        static const QRegularExpression size(QStringLiteral("\\((\\d+)\\)"));
        int limit = 0;
        for (const QString& t : tables) {
            for (const QStringList& row : queryRows(db, "SELECT name, type FROM pragma_table_info(?1)", t)) {
                if (row.value(0).compare(column, Qt::CaseInsensitive) != 0)
                    continue;
                const int n = size.match(row.value(1)).captured(1).toInt();
                if (n <= 0 || (limit != 0 && limit != n))
                    return 0;
                limit = n;
            }
        }
        return limit;
    } catch (const Failure&) {
        return 0;
    }
}

} // namespace

Failure lastError(sqlite3* db, EngineSituation where, sqlite3_stmt* stmt)
{
    const int code = sqlite3_extended_errcode(db);
    const QString message = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(db)));
    EngineDetails details;
    static const QLatin1StringView textSize("CHECK constraint failed: jet_text_size_");
    if (message.startsWith(textSize))
        details.textLimit = declaredTextLimit(db, message.mid(textSize.size()), stmt);
    return engineFailure(code, message, where, details);
}

void throwLastError(sqlite3* db, EngineSituation where)
{
    throw lastError(db, where);
}

void runSql(sqlite3* db, const QByteArray& sql, EngineSituation where, const QString& parameter)
{
    Statement stmt(db, sql, parameter, where);
    while (stmt.step(where)) {
    }
}

std::vector<QStringList> queryRows(sqlite3* db, const QByteArray& sql, const QString& parameter)
{
    Statement stmt(db, sql, parameter, EngineSituation::Statement);
    std::vector<QStringList> rows;
    const int columns = sqlite3_column_count(stmt.get());
    while (stmt.step(EngineSituation::Statement)) {
        QStringList row;
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(stmt.get(), c) == SQLITE_NULL) {
                row.append(QString());
            } else {
                const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt.get(), c));
                row.append(QString::fromUtf16(text, sqlite3_column_bytes16(stmt.get(), c) / 2));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

QString queryText(sqlite3* db, const QByteArray& sql, const QString& parameter)
{
    const auto rows = queryRows(db, sql, parameter);
    return rows.empty() || rows.front().isEmpty() ? QString() : rows.front().front();
}

void runInSavepoint(sqlite3* db, const QStringList& statements)
{
    runSql(db, "SAVEPOINT vortan_schema", EngineSituation::Statement);
    try {
        for (const QString& sql : statements)
            runSql(db, sql.toUtf8(), EngineSituation::Statement);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO vortan_schema; RELEASE vortan_schema", nullptr, nullptr, nullptr);
        throw;
    }
    runSql(db, "RELEASE vortan_schema", EngineSituation::Statement);
}

} // namespace vortan::db
