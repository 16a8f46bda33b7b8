#pragma once
// The failures of a migration of an old Access survey database that have
// messages of their own, and how a command reports a failed migration: those
// show their text (the failure's description), everything else goes to the
// common error report (a damaged or truncated file to its damaged-database
// message, 3343).

#include "core/error_reporter.h"

#include <QStringList>

namespace vortan::migrate {

// The file is an Access file, but not of the old program: tables or columns
// are missing (the engine's "object not found").
inline constexpr std::int32_t NotLegacyLayout = 3011;
// The file is no Access file at all (the engine's "unrecognised format").
inline constexpr std::int32_t NotAccessFile = 3170;
// The new database would replace a file it must not (the engine's
// "database already exists").
inline constexpr std::int32_t TargetRefused = 3204;

Failure notLegacyLayoutFailure(const QString& path, const QStringList& missing);
Failure notAccessFileFailure(const QString& path);
Failure targetExistsFailure(const QString& path);
Failure targetIsSourceFailure(const QString& path);

// Shows the message of `failure` and returns the action code: 3 ends the
// program (only the common report answers so), anything else abandons the command.
std::int16_t ReportMigrationFailure(const Failure& failure, const ErrorContext& context);

} // namespace vortan::migrate
