#pragma once
// Test data kept as statements in tests/fixtures/sql/<name>: surveys with
// their points and records, database files in older layouts. One statement a
// line (a line ending without ";" continues on the next); lines starting
// with "--" are comments.

#include <QString>
#include <QStringList>

namespace vortan::db {
class Database;
}

namespace vortan::test {

QStringList sqlFixture(const QString& name);

// Runs every statement of the fixture on `database`.
void runSqlFixture(db::Database& database, const QString& name);

} // namespace vortan::test
