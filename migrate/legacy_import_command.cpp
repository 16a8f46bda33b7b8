#include "migrate/legacy_import_command.h"

#include "migrate/legacy_database_offer.h"
#include "core/busy_scope.h"
#include "migrate/migration_failure.h"
#include "migrate/migration_messages.h"

#include <QFileInfo>

namespace vortan::migrate {

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

std::int16_t RunLegacyImportCommand(const LegacyImportChoosers& choosers, const ErrorContext& context,
                                    const QString& openDatabase, MigrationOptions options)
{
    UserInterface& ui = context.ui;
    ui.setStatusText(QString());
    const QString source = choosers.accessFile ? choosers.accessFile() : QString();
    if (source.isEmpty())
        return action::Nothing;
    const QString target = choosers.newFile ? choosers.newFile(MigratedDatabasePath(source)) : QString();
    if (target.isEmpty())
        return action::Nothing;

    try {
        if (!openDatabase.isEmpty() && sameFile(target, openDatabase))
            throw Failure(TargetRefused,
                          QStringLiteral("使用中のデータベースを新しいデータベースにすることはできません。\n%1")
                              .arg(QFileInfo(target).filePath()),
                          QStringLiteral("MigrateLegacyDatabase"));
        options.replace = true;
        ShowProgressInStatusBar(options, ui);
        BusyScope busy(ui, MigrationStatusText(0));
        const MigrationResult result = MigrateLegacyDatabase(source, target, options);
        busy.finish();
        ui.showMessage(MigrationSummary(target, result), MessageIcon::Information);
        return action::Nothing;
    } catch (const Failure& failure) {
        return ReportMigrationFailure(failure, context);
    }
}

} // namespace vortan::migrate
