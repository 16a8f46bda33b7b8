#pragma once
// The layout version of the survey database and its upgrade. Files written by
// older releases lack the SystemSetting table, the mst住所 table, the columns
// C and D of mstQa値計算式 and the columns 印刷 and 印刷測点No of 測点; the check
// at start-up brings such a file to the current layout (version 1.2) inside
// one workspace transaction. A file already at 1.2 keeps its rows and
// version and takes only the later steps in place: the print mark's default,
// the lookup indexes and the substring index of the survey search.

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan::db {

class Database;
class Workspace;

inline constexpr double CurrentSchemaVersion = 1.2;

// True when the database has a table of that name; a failing lookup counts as false.
bool TableExists(Database& database, const QString& name);

// Reads the version of the workspace's survey database ("0" without a
// SystemSetting table), upgrades the file when it is older than 1.2, then
// gives the print mark its default (SetPrintMarkDefault) and adds the
// lookup indexes (CreateLookupIndexes) and the substring index
// (CreateSiteTextIndex).
// Throws Failure when the version cannot be read (a SystemSetting table
// without a "DBVersion" row gives an empty text, which is no number: 13).
// Returns the version read.
double CheckSchemaVersion(Workspace& workspace);

// Brings the survey database from `version` to 1.2 in one transaction of the
// workspace: true when committed, false when rolled back (the file is then
// as it was).
bool UpgradeSchema(Workspace& workspace, double version);

// Points stored without a print mark of their own are printed: the card and
// exchange imports write none, and a point added on the data sheet starts
// marked as well. A file whose column 印刷 of 測点 still defaults to False
// (every file of the 1.2 layout written before) takes the default True in
// place, in one workspace transaction; the marks already stored keep their
// values and the version stays. True when the file was changed; a file
// without the column, or one that cannot be changed now, is left as it is.
bool SetPrintMarkDefault(Workspace& workspace);

// The indexes that let a survey's points and records and a card run's
// stored copies be found without reading whole tables
// (LookupIndexStatements). A file that lacks some of them (every file of
// the 1.2 layout written before) takes them in place, and loses those of
// earlier versions that they replace, in one workspace transaction; rows
// and version stay as they are. An index whose table or
// columns the file lacks is left out. True when the file was changed; a
// file that cannot be changed now is left as it is and tried again at the
// next start.
bool CreateLookupIndexes(Workspace& workspace);

// The free texts of a survey that the survey search finds by a part of them
// (customer, site name, address and remark) are read through a substring
// index (Database::createSubstringIndex) rather than by reading every
// survey. A file without it (every file written before) takes it in place,
// filled from the surveys it holds, and an existing one has its upkeep
// done (Database::createSubstringIndex); rows and version stay as they
// are. True when the file was changed; a file that cannot be changed now,
// an engine that keeps no such index, or a survey table without its
// whole-number key leave the file as it is and the search reads the whole
// table.
bool CreateSiteTextIndex(Workspace& workspace);

// That index: its name, its table, the table's key and the columns.
struct SubstringIndexColumns {
    QString name;
    QString table;
    QString key;
    QStringList columns;
};
const SubstringIndexColumns& SiteTextIndex();

// The statements that create the lookup indexes, with the name each gives.
struct LookupIndex {
    QString name;
    QString statement;
};
const std::vector<LookupIndex>& LookupIndexStatements();

} // namespace vortan::db
