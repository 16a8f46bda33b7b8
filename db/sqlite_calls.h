#pragma once
// Small helpers for running the layer's own SQLite statements (transaction
// control, schema lookups, table rebuilds) with failures raised as Failure.

#include "core/failure.h"
#include "db/engine_error_map.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vortan::db {

// The connection's last error as a Failure; `stmt`, when given, is the
// failing statement (a value too long for its column is then measured
// against the column of the table it writes).
Failure lastError(sqlite3* db, EngineSituation where, sqlite3_stmt* stmt = nullptr);
[[noreturn]] void throwLastError(sqlite3* db, EngineSituation where);

// Runs one statement to its end; `parameter`, when not null, is bound to ?1.
void runSql(sqlite3* db, const QByteArray& sql, EngineSituation where, const QString& parameter = QString());

// The rows of a query as texts (Null as a null QString); `parameter` as above.
std::vector<QStringList> queryRows(sqlite3* db, const QByteArray& sql, const QString& parameter = QString());

// The first column of the first row, or empty text when there is no row.
QString queryText(sqlite3* db, const QByteArray& sql, const QString& parameter);

// Runs the statements in order so that either all of them take effect or,
// when one fails, none does (the failure is thrown).
void runInSavepoint(sqlite3* db, const QStringList& statements);

} // namespace vortan::db
