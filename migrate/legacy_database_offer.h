#pragma once
// Where the program meets an Access file at データ位置 (at start-up, or when
// the options dialog is confirmed): instead of calling the file damaged, it
// says what the file is and offers to bring it across. On Yes the new
// database is written beside the old file under the name the question
// states, with the percentage in the status bar and the tables with their
// rows at the end; the caller then points データ位置 at it. The old file is
// never changed.

#include "core/user_interface.h"
#include "migrate/legacy_migration.h"

#include <QString>

namespace vortan::migrate {

// The new database beside `accessFile`: its name with "_移行" before the
// extension ("VORTAN.MDB" gives "VORTAN_移行.MDB"), followed by a number
// from 2 on when that file exists already.
QString MigratedDatabasePath(const QString& accessFile);

enum class OfferOutcome {
    NoAccessFile,   // `path` is no Access file: nothing was asked
    Declined,       // the user answered No
    Migrated,       // the new database is at newPath
};

struct Offer {
    OfferOutcome outcome = OfferOutcome::NoAccessFile;
    QString newPath;
};

// Asks, when `path` is an Access file, and migrates it on Yes. A failed
// migration throws its Failure (report it with ReportMigrationFailure);
// nothing is then written. `options` may name the reader program.
Offer OfferLegacyMigration(const QString& path, UserInterface& ui, MigrationOptions options = {});

} // namespace vortan::migrate
