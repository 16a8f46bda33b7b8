#include "migrate/migration_failure.h"

#include <QDir>

namespace vortan::migrate {

namespace {

const QString Source = QStringLiteral("MigrateLegacyDatabase");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Failure notLegacyLayoutFailure(const QString& path, const QStringList& missing)
{
    return Failure(NotLegacyLayout,
                   QStringLiteral("指定されたファイルは旧バージョンのVortanのデータベースではないため、"
                                  "取り込めません。\n%1\n見つからないテーブルまたは列：%2")
                       .arg(shown(path), missing.join(QStringLiteral("、"))),
                   Source);
}

Failure notAccessFileFailure(const QString& path)
{
    return Failure(NotAccessFile,
                   QStringLiteral("指定されたファイルはAccess形式のデータベースではないため、取り込めません。\n%1")
                       .arg(shown(path)),
                   Source);
}

Failure targetExistsFailure(const QString& path)
{
    return Failure(TargetRefused,
                   QStringLiteral("新しいデータベースのファイルがすでにあるため、取り込みを中止しました。\n%1")
                       .arg(shown(path)),
                   Source);
}

Failure targetIsSourceFailure(const QString& path)
{
    return Failure(TargetRefused,
                   QStringLiteral("取り込み元のファイルを新しいデータベースにすることはできません。\n%1")
                       .arg(shown(path)),
                   Source);
}

std::int16_t ReportMigrationFailure(const Failure& failure, const ErrorContext& context)
{
    switch (failure.number()) {
    case NotLegacyLayout:
    case NotAccessFile:
    case TargetRefused:
        context.ui.showMessage(failure.description(), MessageIcon::Exclamation);
        return action::Reported;
    case err::ProgramNotFound:   // the reader program could not be started
        context.ui.showMessage(failure.description(), MessageIcon::Critical);
        return action::Reported;
    default:
        return ReportError(failure, context);
    }
}

} // namespace vortan::migrate
