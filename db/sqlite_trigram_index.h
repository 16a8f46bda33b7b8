#pragma once
// The substring indexes of the SQLite engine. One is a full-text table of
// the engine's FTS5 with the trigram tokenizer over text columns of a table:
// it keeps no texts of its own (it reads them from the table) and three
// triggers on the table keep it in step with every insert, update and
// delete. Its row numbers are the table's key, a whole-number primary key:
// the table's own row number, which compaction keeps.
//
// The full-text table, the tables the engine keeps for it (name_data,
// name_idx, name_config) and its triggers (name_ins, name_del, name_upd) all
// start with the index's name, so that copies and salvages can leave them out
// and create the index afresh over the rows they copied.

#include "db/jet_sql_translator.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct sqlite3;

namespace vortan::db {

struct TrigramIndex {
    QString name;
    QString table;
    QString key;
    QStringList columns;
};

// The index that a schema entry's statement creates, or nothing when the
// statement creates none.
std::optional<TrigramIndex> trigramIndexOf(const QString& sql);

// The indexes of the database, from its schema.
std::vector<TrigramIndex> readTrigramIndexes(sqlite3* db);

// The columns the translator looks up in the indexes.
std::vector<TrigramIndexedColumn> indexedColumns(const std::vector<TrigramIndex>& indexes);

// True when `name` is one of the indexes, or a table or trigger of one.
bool belongsToTrigramIndex(const QString& name, const std::vector<TrigramIndex>& indexes);

// Creates the index, fills it from the rows the table holds and adds its
// triggers, all or nothing. False, changing nothing, when the schema already
// has an entry of that name, or when the table lacks a column or its key is
// not its whole-number primary key. Column names are taken as the table
// spells them. Failures of the engine are thrown.
bool createTrigramIndex(sqlite3* db, TrigramIndex index);

// True when the index `name` wants its upkeep: it was made by an earlier
// version that left its segments to the engine's late merging, or it holds
// more segments than a lookup should read (see the source). False when it
// is kept up, or is no index laid out as this program knows it.
bool trigramIndexNeedsUpkeep(sqlite3* db, const QString& name);

// Makes the index merge its segments early and merges those it has into
// one, all or nothing. Failures of the engine are thrown.
void keepTrigramIndexUp(sqlite3* db, const QString& name);

} // namespace vortan::db
