#include "migrate/legacy_database_offer.h"

#include "core/busy_scope.h"
#include "migrate/access_file_signature.h"
#include "migrate/migration_messages.h"

#include <QDir>
#include <QFileInfo>

namespace vortan::migrate {

QString MigratedDatabasePath(const QString& accessFile)
{
    const QFileInfo info(accessFile);
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString name = info.completeBaseName() + QStringLiteral("_移行")
            + (n > 1 ? QString::number(n) : QString()) + extension;
        const QString path = info.dir().filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}

Offer OfferLegacyMigration(const QString& path, UserInterface& ui, MigrationOptions options)
{
    if (!IsAccessFile(path))
        return Offer{};
    const QString target = MigratedDatabasePath(path);
    if (ui.showMessage(OfferQuestion(path, target), MessageIcon::Question, MessageButtons::YesNo,
                       MessageAnswer::Yes)
        != MessageAnswer::Yes)
        return Offer{OfferOutcome::Declined, {}};

    ShowProgressInStatusBar(options, ui);
    MigrationResult result;
    {
        BusyScope busy(ui, MigrationStatusText(0));
        result = MigrateLegacyDatabase(path, target, options);
    }
    ui.showMessage(MigrationSummary(target, result), MessageIcon::Information);
    return Offer{OfferOutcome::Migrated, target};
}

} // namespace vortan::migrate
