#pragma once
// Bringing a survey database of the old Windows version (the Access file
// VORTAN.MDB) into a new survey database of this program: every table of the
// old layout is copied with its rows in stored order (so the master lists
// keep the order their selection boxes show), values keep their meaning
// (text exactly, Null as Null and apart from the empty text, numbers by
// value with singles at single precision, Yes/No as yes/no, dates and times
// as the digit strings they were), and the copy is then brought to the
// current layout by the same upgrade as at start-up.
//
// The Access file is only read, and only by the reader program in a child
// process. The new database is written under a temporary name beside the
// target and renamed to it once complete, so that no failure leaves a part
// of one behind; it replaces an existing file only when asked to.

#include <QString>
#include <functional>
#include <vector>

namespace vortan::migrate {

struct MigrationOptions {
    // The reader program; empty for vortan-mdb-reader in the program folder.
    QString readerProgram;
    // An existing file at the target is replaced (else refused).
    bool replace = false;
    // A reader that sends nothing for this long is taken as hung.
    int silenceLimitMs = 60000;
    // Called as the copy goes on, with the share of the rows written (0-100).
    std::function<void(int percent)> progress;
    // Called once the reader runs, with its process id.
    std::function<void(qint64 processId)> readerStarted;
};

struct TableCount {
    QString table;
    qint64 rows = 0;
};

struct MigrationResult {
    // The tables of the new database in the order of the layout, each with
    // its rows; tables the upgrade created are among them.
    std::vector<TableCount> tables;
    // False when the upgrade to the current layout was rolled back (as it
    // would be at start-up, for example for a point number longer than four
    // characters): the new database then keeps the old layout.
    bool current = true;
};

// Copies the Access file `oldPath` into a new survey database at `newPath`.
// Throws Failure: 53 when the file is not there; NotAccessFile when it is no
// Access file; NotLegacyLayout (naming what is missing) for an Access file
// of another program; 3343 when the file is damaged or cut short (a table
// yields fewer rows than its definition counts), or the reader crashes,
// hangs or fails; TargetRefused when `newPath` exists without
// options.replace or is the old file itself; the engine's numbers when the
// new file cannot be written. Nothing is left at `newPath` after a failure.
MigrationResult MigrateLegacyDatabase(const QString& oldPath, const QString& newPath,
                                      const MigrationOptions& options = {});

// vortan-mdb-reader in the folder of the running program.
QString DefaultReaderProgram();

} // namespace vortan::migrate
