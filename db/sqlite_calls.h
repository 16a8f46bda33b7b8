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

namespace vortan::db {

// The connection's last error as a Failure.
Failure lastError(sqlite3* db, EngineSituation where);
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
