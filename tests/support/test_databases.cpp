#include "test_databases.h"

#include "core/failure.h"
#include "core/settings_store.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace vortan::test {

QString programFolder()
{
    return QStringLiteral(VORTAN_PROGRAM_DIR);
}

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

bool copyWritable(const QString& source, const QString& target)
{
    if (QFile::exists(target) && !QFile::remove(target))
        return false;
    if (!QFile::copy(source, target))
        return false;
    return QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner
                                             | QFileDevice::ReadOwner);
}

ShippedFilesCopy::ShippedFilesCopy()
{
    if (!dir_.isValid())
        return;
    valid_ = true;
    for (const char* name : {"VORTAN.MDB", "Yuubin.MDB", "rqtbl.csv", "qaTbl.tbl"}) {
        const QString file = QString::fromLatin1(name);
        if (!copyWritable(programFile(file), path(file)))
            valid_ = false;
    }
}

QString ShippedFilesCopy::writeSettingsFile(const QMap<QString, QString>& extra) const
{
    QList<QPair<QString, QString>> entries{
        {QStringLiteral("etc/データ位置"), QDir::toNativeSeparators(surveyDatabase())},
        {QStringLiteral("etc/住所位置"), QDir::toNativeSeparators(postalDatabase())},
        {QStringLiteral("etc/ini位置"), QDir::toNativeSeparators(folder())},
    };
    for (auto it = extra.begin(); it != extra.end(); ++it) {
        bool replaced = false;
        for (auto& entry : entries) {
            if (entry.first == it.key()) {
                entry.second = it.value();
                replaced = true;
            }
        }
        if (!replaced)
            entries.append({it.key(), it.value()});
    }
    const QString file = path(QStringLiteral("settings.ini"));
    return test::writeSettingsFile(file, entries) ? file : QString();
}

bool writeSettingsFile(const QString& path, const QList<QPair<QString, QString>>& entries)
{
    SettingsStore store(path);
    for (const auto& entry : entries)
        store.setValue(entry.first.section(QLatin1Char('/'), 0, 0),
                       entry.first.section(QLatin1Char('/'), 1), entry.second);
    try {
        store.save();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

bool breakDatabasePage(const QString& path, int page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return false;
    const int pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
    const qint64 pages = file.size() / pageSize;
    const qint64 index = page > 0 ? page - 1 : pages + page;
    const int keep = index == 0 ? 100 : 0;
    return index >= 0 && index < pages && file.seek(index * pageSize + keep)
        && file.write(QByteArray(pageSize - keep, '\x5A')) == pageSize - keep;
}

} // namespace vortan::test
