#pragma once
// Whole databases on a PostgreSQL server, for the tests and benchmarks that
// give each run a database of its own: created (empty, or as a copy of a
// template database, which the server does quickly), renamed and dropped
// through the server's maintenance database "postgres". The URI names the
// database as for Database::open.

#include <QString>

namespace vortan::db {

// Creates the database the URI names; `templateName` not empty: as a copy of
// that database. A template that does not exist throws 3024.
void createServerDatabase(const QString& uri, const QString& templateName = QString());

// Renames the database the URI names; false when a database of the new name
// exists already.
bool renameServerDatabase(const QString& uri, const QString& newName);

// Drops the database the URI names, closing its connections; nothing when
// there is none.
void dropServerDatabase(const QString& uri);

} // namespace vortan::db
