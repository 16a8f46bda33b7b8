#pragma once
// Val of the program's SQL dialect: the number a text begins with, by the
// program's leading-number rule ("12.5m" is 12.5, a text without a number
// is 0); Null stays Null. It lets a statement compare number texts, such as
// a survey's elevation, as numbers.

struct sqlite3;

namespace vortan::db {

// Registers Val (named jet_val in the statements the dialect is translated to).
void registerJetVal(sqlite3* connection);

} // namespace vortan::db
