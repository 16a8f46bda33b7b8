#include "intake/exchange_file_location.h"

#include <QDir>
#include <QFileInfo>

namespace vortan::intake {

namespace {

// The folder of `path` when the path is a whole one and the folder exists.
QString existingFolderOf(const QString& path)
{
    const QFileInfo file(QDir::fromNativeSeparators(path.trimmed()));
    if (path.trimmed().isEmpty() || !file.isAbsolute())
        return QString();
    const QDir folder = file.absoluteDir();
    return folder.exists() ? folder.absolutePath() : QString();
}

QString inFolder(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

} // namespace

QString datedExchangeFileName(const QDate& day)
{
    return QStringLiteral("Vortan_") + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
}

QString exchangeFileStart(const QString& remembered, const QString& documentsFolder, const QDate& today)
{
    if (!existingFolderOf(remembered).isEmpty())
        return remembered;
    return inFolder(documentsFolder, datedExchangeFileName(today));
}

QString exchangeDialogStart(const QString& current, bool forWriting, const QString& documentsFolder,
                            const QDate& today)
{
    QString folder = existingFolderOf(current);
    if (folder.isEmpty())
        folder = QDir::fromNativeSeparators(documentsFolder);
    if (forWriting)
        return inFolder(folder, datedExchangeFileName(today));
    if (QFileInfo(QDir::fromNativeSeparators(current.trimmed())).isFile() && !existingFolderOf(current).isEmpty())
        return current;
    return QDir::toNativeSeparators(folder);
}

} // namespace vortan::intake
