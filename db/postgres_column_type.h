#pragma once
// How the column types of the program's SQL dialect are declared in a
// PostgreSQL table so that the server keeps their rules: text columns are
// citext (compared without regard to letter case) with a check of their
// declared length, numbers are the server's own number types (a text that
// is no number fails), yes/no columns hold -1 and 0 through a trigger. Each
// column's comment keeps its type in the dialect, so that a table can be
// described again in the dialect.

#include "db/jet_column_type.h"

namespace vortan::db {

QString postgresDeclaration(const JetColumnType& type);

// The column definition without its key and null constraints.
QString postgresColumnDefinition(const QString& name, const JetColumnType& type);

// The statements that follow a column's creation: its yes/no trigger, its
// comment.
QStringList postgresColumnRules(const QString& table, const QString& column, const JetColumnType& type);

// The statements that remove a column's yes/no trigger, if it has one.
QStringList postgresDropYesNoRule(const QString& table, const QString& column);

// The name of the check that keeps a text column within its length.
QString postgresTextSizeCheck(const QString& column);

} // namespace vortan::db
