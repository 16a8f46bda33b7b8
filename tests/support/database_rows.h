#pragma once
// Rows of a database as texts, and lists of texts written in the test, for
// comparing what a statement finds with what a test expects.

#include <QStringList>
#include <initializer_list>

namespace vortan::db {
class Database;
}

namespace vortan::test {

// The rows `sql` gives, each as its fields' texts joined by "|".
QStringList rows(db::Database& database, const QString& sql);

// UTF-8 texts as a list.
QStringList list(std::initializer_list<const char*> items);

} // namespace vortan::test
