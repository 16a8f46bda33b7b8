#pragma once
// Copying a whole survey database into another, from a file to a server or
// back: every table of the source, its rows replacing those of the target,
// in one transaction on the target.

#include <QString>
#include <memory>
#include <vector>

namespace vortan::db {

class Database;

struct CopiedTable {
    QString table;
    qint64 rows = 0;
};

// Copies every table of `from` into `to`: a table the target lacks is
// created like the source's, the rows of each copied table in the target are
// deleted and the source's inserted (the columns both have). Either all of
// it takes effect or, when anything fails, nothing (the failure is thrown).
std::vector<CopiedTable> copyDatabase(Database& from, Database& to);

// The server database `uri` as the target of a copy. One the server does not
// have yet is created; one without tables (made empty by its administrator)
// is set up as a new one is, its case-blind text type included, so that the
// copy can create its tables; one with tables is opened as it is.
std::unique_ptr<Database> openServerCopyTarget(const QString& uri);

// The number of surveys a database holds (0 when it has no survey table).
qint64 surveyCount(Database& database);

} // namespace vortan::db
