#include "core/card_drive_file.h"

#include "core/atomic_file.h"
#include "core/cp932.h"
#include "core/file_devices.h"

#include <QFile>
#include <algorithm>

namespace vortan {

namespace {

constexpr qsizetype RecordLength = 2;

QString filePath(const QString& settingsFolder)
{
    return platform::joinPath(settingsFolder, QString::fromLatin1(CardDriveFileName));
}

} // namespace

QByteArray cardDriveRecord(const QString& cardDrive, platform::PathStyle style)
{
    QByteArray bytes = cp932::encode(cardDrive);
    if (style == platform::PathStyle::Windows) {
        bytes.truncate(RecordLength);
        while (bytes.size() < RecordLength)
            bytes.append(' ');
        return bytes;
    }
    return bytes + '\n';
}

QString cardDriveFromRecord(QByteArrayView bytes, platform::PathStyle style)
{
    if (style == platform::PathStyle::Windows)
        return cp932::decode(bytes.first(std::min(bytes.size(), RecordLength)));
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
        ++end;
    return cp932::decode(bytes.first(end));
}

bool readCardDriveFile(const QString& settingsFolder, QString& cardDrive)
{
    const std::unique_ptr<QFile> file = filedevices::readDevice(filePath(settingsFolder));
    if (!file->open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = filedevices::readToEnd(*file);
    if (bytes.isEmpty() || file->error() != QFileDevice::NoError)
        return false;
    cardDrive = cardDriveFromRecord(bytes, platform::nativePathStyle());
    return true;
}

void writeCardDriveFile(const QString& settingsFolder, const QString& cardDrive)
{
    writeFileAtomically(filePath(settingsFolder),
                        cardDriveRecord(cardDrive, platform::nativePathStyle()));
}

} // namespace vortan
