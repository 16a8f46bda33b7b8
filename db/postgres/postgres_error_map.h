#pragma once
// The one table that turns PostgreSQL's SQLSTATE codes into the engine
// error numbers the error reporter knows, as the file engine's table does
// for SQLite: 3022 duplicate key, 3006 a lock wait that ran out (3261 at a
// commit), 3163 a text too long for its column, 3464 a value of the wrong
// kind, 3043 a server that cannot be reached. Descriptions are Japanese and
// name the columns and tables the server names.

#include "core/failure.h"
#include "db/engine_error_map.h"

#include <QByteArray>
#include <QString>

namespace vortan::db {

// What the server said about a failed statement.
struct PostgresError {
    QByteArray sqlState;
    QString message;
    QString detail;
    QString table;
    QString column;
    QString constraint;
    int textLimit = 0;   // the declared length of the column a text did not fit, when known
};

std::int32_t postgresErrorNumber(const PostgresError& error, EngineSituation where);

Failure postgresFailure(const PostgresError& error, EngineSituation where);

// A server that cannot be reached or would not let the user in: 3043
// naming the host (and port) of the connection, or 3024 when the server
// answers that the database does not exist.
Failure postgresConnectionFailure(const QString& host, const QString& port, const QString& database,
                                  const QString& message);

} // namespace vortan::db
