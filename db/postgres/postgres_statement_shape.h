#pragma once
// A translated data statement finished for PostgreSQL: its parameters
// numbered ($1, $2, ...), Like turned into a case-insensitive regular
// expression match whose pattern is bound as a parameter, and the functions
// the file engine registers for itself written out in the server's SQL.

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace vortan::db {

struct PostgresShape {
    QByteArray sql;
    int parameters = 0;
    std::vector<bool> likePattern;   // per parameter: bind as a pattern of Like
};

// The stored spelling of a table or column name written in any letter case
// (names compare without regard to case in the dialect, not on the server);
// a name it does not know comes back as it is.
using NameSpelling = std::function<QString(const QString&)>;

PostgresShape postgresShape(const QString& translated, const NameSpelling& spelling);

// A schema statement with its quoted names spelt as stored.
QString withStoredNames(const QString& sql, const NameSpelling& spelling);

// A pattern of Like (* any run, ? one character, # one digit, [..] and
// [!..] character lists) as an anchored regular expression.
QString likePatternRegex(QStringView pattern);

} // namespace vortan::db
