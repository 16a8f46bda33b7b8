#pragma once
// Salvage of a damaged database file: every row that can still be read is
// copied into a new file, table by table, with the tables, indexes and
// triggers of the damaged file's own definitions.
//
// A damaged page makes SQLite stop a scan where it lies. The salvage reads
// each table in rowid order, and where the scan stops it looks for the next
// rowid at which the table can be read again (doubling the distance, then
// halving it back to the first readable place), so a broken page costs only
// the rows stored on it; a row whose own record is broken costs that row.
// A row that no longer fits its table's rules (a broken text grown too long,
// a duplicate key) is left out, so the new file holds only what the program
// can use.

#include <QString>
#include <cstdint>
#include <vector>

namespace vortan::db {

struct SalvagedTable {
    QString name;
    std::int64_t rows = 0;       // rows copied into the new file
    bool unreadableParts = false; // some of its rows could not be read
};

// Copies every readable row of `source` into the new file `target` (which
// must not exist) and returns the tables in the order of their definitions.
// Throws 3343 when not even the list of tables can be read (nothing to
// salvage) and the engine's failure when `target` cannot be written; a
// target left half written then is the caller's to remove.
std::vector<SalvagedTable> salvageDatabase(const QString& source, const QString& target);

// The tables of a sound database file with their row counts, in the order
// of their definitions (SQLite's own bookkeeping tables left out).
std::vector<SalvagedTable> tableRowCounts(const QString& path);

} // namespace vortan::db
