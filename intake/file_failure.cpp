#include "intake/file_failure.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

namespace vortan::intake {

namespace {

QString describe(const QFileDevice& device)
{
    return QDir::toNativeSeparators(device.fileName()) + QStringLiteral(": ") + device.errorString();
}

} // namespace

Failure fileReadFailure(const QFileDevice& device, const QString& source)
{
    const QFileInfo info(device.fileName());
    // A file that goes away while it is read went with its medium: the card
    // was pulled or the drive is gone.
    const bool wasReading = device.isOpen();
    std::int32_t number = err::PathFileAccess;
    if (!info.absoluteDir().exists())
        number = wasReading ? err::DiskNotReady : err::PathNotFound;
    else if (!info.exists())
        number = wasReading ? err::DiskNotReady : err::FileNotFound;
    else if (device.error() == QFileDevice::PermissionsError
             || !device.permissions().testFlag(QFileDevice::ReadUser))
        number = err::PermissionDenied;
    return Failure(number, describe(device), source);
}

Failure fileWriteFailure(const QFileDevice& device, const QString& source)
{
    const QFileInfo info(device.fileName());
    std::int32_t number = err::PathFileAccess;
    switch (device.error()) {
    case QFileDevice::ResourceError:
        number = err::DiskFull;
        break;
    case QFileDevice::PermissionsError:
        number = err::PermissionDenied;
        break;
    case QFileDevice::NoError:
    case QFileDevice::OpenError:
        // The file could not be made: the folder is missing or refuses it.
        number = info.absoluteDir().exists() ? err::PermissionDenied : err::PathNotFound;
        break;
    default:
        break;
    }
    return Failure(number, describe(device), source);
}

} // namespace vortan::intake
