#include "migrate/migration_messages.h"

#include "migrate/legacy_database_offer.h"

#include <QDir>

namespace vortan::migrate {

QString MigrationStatusText(int percent)
{
    return QStringLiteral("旧データベースの取り込み中... %1%").arg(percent);
}

void ShowProgressInStatusBar(MigrationOptions& options, UserInterface& ui)
{
    options.progress = [&ui, shown = -1](int percent) mutable {
        if (percent != shown) {
            shown = percent;
            ui.setStatusText(MigrationStatusText(percent));
        }
        ui.processEvents();
    };
}

QString OfferQuestion(const QString& accessFile, const QString& newFile)
{
    return QStringLiteral("データ位置に指定されているファイルは、Access形式のデータベース"
                          "（旧バージョンのVortanのデータベース）です。\n%1\n\n"
                          "このデータベースを取り込んで、同じフォルダーに新しいデータベース\n%2\n"
                          "を作成し、データ位置をこのファイルに変更しますか？\n"
                          "（元のファイルは変更されません。）")
        .arg(QDir::toNativeSeparators(accessFile), QDir::toNativeSeparators(newFile));
}

QString CommandLineMigrationHint(const QString& accessFile)
{
    return QStringLiteral("データ位置に指定されているファイルは、Access形式のデータベース"
                          "（旧バージョンのVortanのデータベース）です。\n%1\n"
                          "vortan-cli migrate で新しいデータベースに取り込み、そのファイルを指定してください。\n"
                          "（例: vortan-cli migrate \"%1\" \"%2\"）")
        .arg(QDir::toNativeSeparators(accessFile), QDir::toNativeSeparators(MigratedDatabasePath(accessFile)));
}

QString MigrationSummary(const QString& newFile, const MigrationResult& result)
{
    QString text = QStringLiteral("旧データベースを取り込みました。\n%1\n").arg(QDir::toNativeSeparators(newFile));
    for (const TableCount& table : result.tables)
        text += QStringLiteral("\n%1：%2件").arg(table.table).arg(table.rows);
    if (!result.current)
        text += QStringLiteral("\n\n新しいデータベースを現在の形式に更新できなかったため、"
                               "旧バージョンの形式のままです。");
    return text;
}

} // namespace vortan::migrate
