#pragma once
// Telling an Access (Jet or ACE) database file from the program's own
// database files by its first bytes, without reading it any further.

#include <QString>

namespace vortan::migrate {

// True when the file at `path` starts as an Access database file does
// ("Standard Jet DB" or "Standard ACE DB" behind the first four bytes).
// False for a missing or unreadable file.
bool IsAccessFile(const QString& path);

} // namespace vortan::migrate
