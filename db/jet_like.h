#pragma once
// Like of the program's SQL dialect: * any run of characters, ? one
// character, # one digit, [abc] one of the characters (ranges a-z allowed),
// [!abc] one character not among them; letters match without regard to case.

#include <QStringView>

struct sqlite3;

namespace vortan::db {

bool jetLike(QStringView text, QStringView pattern);

// Makes the connection's LIKE operator follow these rules.
void registerJetLike(sqlite3* connection);

} // namespace vortan::db
