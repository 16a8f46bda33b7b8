#pragma once
// The main window's command "旧データベースの取り込み...": the user chooses an
// old Access survey database and the name of the new database, the copy runs
// with its percentage in the status bar, and a message ends it with the new
// database's tables and their rows. The survey database the program has open
// is never the target.

#include "core/error_reporter.h"
#include "migrate/legacy_migration.h"

#include <QString>
#include <functional>

namespace vortan::migrate {

struct LegacyImportChoosers {
    // The Access file to read; empty when the user cancelled.
    std::function<QString()> accessFile;
    // The new database's file, starting from `suggested`; empty when the
    // user cancelled. A file chooser that asked before overwriting an
    // existing file lets the migration replace it.
    std::function<QString(const QString& suggested)> newFile;
};

// Runs the command; returns the reporter's action code after a failure (3
// ends the program), 0 otherwise. `openDatabase` is the path of the survey
// database the program has open, empty when none; `options` may name the
// reader program.
std::int16_t RunLegacyImportCommand(const LegacyImportChoosers& choosers, const ErrorContext& context,
                                    const QString& openDatabase, MigrationOptions options = {});

} // namespace vortan::migrate
