#pragma once
// What the program tells the user about a migration of an old Access
// survey database: the percentage in the status bar while it runs, the
// question when it meets such a file at データ位置, and the tables of the new
// database with their rows at the end.

#include "core/user_interface.h"
#include "migrate/legacy_migration.h"

#include <QString>

namespace vortan::migrate {

// The status text while the copy has come `percent` percent of the way.
QString MigrationStatusText(int percent);

// Makes `options` show the percentage in the status bar of `ui` and let
// window events run while the migration goes on.
void ShowProgressInStatusBar(MigrationOptions& options, UserInterface& ui);

// The question asked when データ位置 names an Access file: it names the old
// file and the new one that will be written beside it.
QString OfferQuestion(const QString& accessFile, const QString& newFile);

// What vortan-cli says when データ位置 names an Access file: a script is
// not asked, so it names the command that brings the file across.
QString CommandLineMigrationHint(const QString& accessFile);

// The closing message: the new file and each of its tables with its rows.
QString MigrationSummary(const QString& newFile, const MigrationResult& result);

} // namespace vortan::migrate
