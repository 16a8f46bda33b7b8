// migrate OLD NEW [--replace]: copies the survey database of the old Windows
// version, the Access file OLD, into a new survey database NEW at the current
// layout, and prints each table of NEW with its rows ("TABLE<TAB>rows"). OLD
// is only read. An existing NEW is refused unless --replace is given.

#include "cli/cli_command.h"
#include "migrate/legacy_migration.h"
#include "migrate/migration_failure.h"

namespace vortan::cli {
namespace {

const QString Name = QStringLiteral("migrate");

int migrateDatabase(CliContext& context, const QStringList& args)
{
    QStringList files;
    migrate::MigrationOptions options;
    for (const QString& arg : args) {
        if (arg == QStringLiteral("--replace"))
            options.replace = true;
        else if (!arg.startsWith(QStringLiteral("--")) && files.size() < 2)
            files.append(arg);
        else
            return context.usageError(Name, QStringLiteral("unexpected argument %1").arg(arg));
    }
    if (files.size() != 2)
        return context.usageError(Name, QStringLiteral("expected OLD and NEW"));

    try {
        const migrate::MigrationResult result = migrate::MigrateLegacyDatabase(files[0], files[1], options);
        for (const migrate::TableCount& table : result.tables)
            context.print(table.table + u'\t' + QString::number(table.rows));
        if (!result.current)
            context.printError(QStringLiteral("vortan-cli migrate: %1 keeps the old layout; the upgrade to the "
                                              "current layout was rolled back")
                                   .arg(files[1]));
    } catch (const Failure& failure) {
        context.ui().setMessagesToErrorStream(true);
        migrate::ReportMigrationFailure(
            failure, ErrorContext{context.ui(), context.state(), context.workspace().surveyOpen()});
        context.ui().setMessagesToErrorStream(false);
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(Name, QStringLiteral("OLD NEW [--replace]"), migrateDatabase);

} // namespace vortan::cli
