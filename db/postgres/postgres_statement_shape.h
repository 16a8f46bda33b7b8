#pragma once
// A translated data statement finished for PostgreSQL: its parameters
// numbered ($1, $2, ...), Like turned into a case-insensitive regular
// expression match whose pattern is bound as a parameter, and the functions
// the file engine registers for itself written out in the server's SQL.

#include <QByteArray>
#include <QString>
#include <vector>

namespace vortan::db {

struct PostgresShape {
    QByteArray sql;
    int parameters = 0;
    std::vector<bool> likePattern;   // per parameter: bind as a pattern of Like
};

PostgresShape postgresShape(const QString& translated);

// A pattern of Like (* any run, ? one character, # one digit, [..] and
// [!..] character lists) as an anchored regular expression.
QString likePatternRegex(QStringView pattern);

} // namespace vortan::db
