#pragma once
// The database repair of the main window's "データベースの修復": a sound file
// is compacted in place; a damaged one is salvaged into a new file that takes
// its place, and the damaged original is kept beside it under a name that
// says what it is.

#include "db/database_salvage.h"

#include <QString>
#include <vector>

namespace vortan::db {

struct RepairOutcome {
    bool damaged = false;   // the file failed the integrity check
    QString keptOriginal;   // where the damaged original was kept; empty when sound
    std::vector<SalvagedTable> tables;  // the rows now in the file, per table
};

// The name beside `path` under which a damaged original is kept:
// "VORTAN.MDB" gives "VORTAN_修復前.MDB", then "VORTAN_修復前(2).MDB" and on
// when that name is taken, so no earlier original is ever overwritten.
QString keptOriginalPath(const QString& path);

// Repairs the database file at `path`, building the new file in `scratch`
// (removed afterwards). Sound: a compacted copy replaces it. Damaged: every
// readable row is salvaged into `scratch`, a whole copy of the damaged file
// is written to keptOriginalPath(path), and then the salvaged file replaces
// `path`. Every file is put in place by one rename of a whole copy, so a
// failure or a kill at any moment leaves `path` either the old file or the
// new one, and the kept original either absent or whole. Throws 3343 when
// nothing can be read, 75 when a file cannot be written or replaced, and
// the engine's failures of opening `path`. A database on a PostgreSQL
// server is not repaired here (3219).
RepairOutcome repairDatabase(const QString& path, const QString& scratch);

} // namespace vortan::db
