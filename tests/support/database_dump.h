#pragma once
// The whole content of a survey database file as lines, for telling whether
// two states are the same: the result of SQLite's integrity check, then the
// definition of every table and index, then every row of every table in
// order. Opening the file rolls back a transaction a killed program left
// behind in its journal, as any program opening it would.

#include <QString>
#include <QStringList>

namespace vortan::test {

// The first line is "integrity_check: ok" for a sound file. A file that
// cannot be opened or read gives one line saying why.
QStringList databaseDump(const QString& path);

// Every row of every table of a survey database, file or server, through the
// database layer: "table: value | value ...", each table's rows in sorted
// order, so that two states of either engine can be compared. A database
// that cannot be read gives one line saying why.
QStringList databaseRows(const QString& location);

} // namespace vortan::test
