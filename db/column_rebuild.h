#pragma once
// Changing the type of a column ("alter table t alter column c char(4)"),
// and with it, when one is given, the column's default ("alter table 測点
// alter column 印刷 yesno default true").
// SQLite cannot alter a column in place, so the table is built anew with the
// new declaration, its rows are copied over in their order, and its keys,
// indexes and triggers are created again; the other columns keep their
// declarations. Rows that do not fit the new type make the whole change fail.

#include "db/jet_column_type.h"

#include <QString>

struct sqlite3;

namespace vortan::db {

// `newDefault` is the SQLite text of the new default; empty keeps the old one.
void alterColumnType(sqlite3* db, const QString& table, const QString& column, const JetColumnType& type,
                     const QString& newDefault = QString());

} // namespace vortan::db
