#pragma once
// What the options dialog's connection test tells about a survey database
// location (a file or a PostgreSQL connection URI): whether it can be
// opened, and whether it has the program's current layout.

#include <QString>

namespace vortan::db {

struct ConnectionCheck {
    bool reachable = false;   // the database opened
    bool current = false;     // ... and has the current layout
    QString text;             // the sentence the dialog shows
};

ConnectionCheck checkConnection(const QString& location);

// True when a connection URI carries a password, which must never be kept
// in the settings file.
bool uriHoldsPassword(const QString& location);

} // namespace vortan::db
