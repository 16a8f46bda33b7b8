#pragma once
// The PostgreSQL engine: a survey database on a server, shared by several
// workstations. The one part of the program that talks to libpq.

#include "db/database_engine.h"

#include <memory>

namespace vortan::db {

// Connects to the database the URI names. `creating`: the database must
// hold no tables yet (3204 otherwise). Failures: 3043 when the server
// cannot be reached (the message names the host), 3024 when the database
// does not exist, 3051 when the user may not log in.
std::unique_ptr<DatabaseEngine> openPostgresEngine(const QString& uri, bool creating);

} // namespace vortan::db
