#include "db/connection_check.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "db/database.h"
#include "db/schema_version.h"

#include <QUrl>
#include <QUrlQuery>

namespace vortan::db {

ConnectionCheck checkConnection(const QString& location)
{
    ConnectionCheck check;
    try {
        const auto database = Database::open(location);
        check.reachable = true;
        if (!database->tableExists(QStringLiteral("調査地区")) || !database->tableExists(QStringLiteral("SystemSetting"))) {
            check.text = QStringLiteral("接続できました。Vortanのテーブルがまだありません（vortan-cli init-db で作成できます）。");
            return check;
        }
        RecordSet rows = database->openRecordSet(
            QStringLiteral("select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;"));
        const QString version = rows.eof() ? QString() : rows.field(QStringLiteral("Value")).toText();
        check.current = numtext::leadingNumber(version) >= CurrentSchemaVersion;
        check.text = check.current
            ? QStringLiteral("接続できました。データベースは最新の形式（バージョン%1）です。").arg(version)
            : QStringLiteral("接続できました。データベースの形式（バージョン%1）は古いため、起動時に最新の形式に更新されます。")
                  .arg(version.isEmpty() ? QStringLiteral("不明") : version);
    } catch (const Failure& failure) {
        check.text = QStringLiteral("接続できません。%1（%2）").arg(failure.description()).arg(failure.number());
    }
    return check;
}

bool uriHoldsPassword(const QString& location)
{
    if (!isConnectionUri(location))
        return false;
    const QUrl url(location);
    return !url.password().isEmpty() || QUrlQuery(url).hasQueryItem(QStringLiteral("password"));
}

} // namespace vortan::db
