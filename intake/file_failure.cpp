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
    std::int32_t number = err::PathFileAccess;
    if (!info.absoluteDir().exists())
        number = err::PathNotFound;
    else if (!info.exists())
        number = err::FileNotFound;
    else if (device.error() == QFileDevice::PermissionsError || !info.isReadable())
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
    case QFileDevice::OpenError:
        number = info.absoluteDir().exists() ? err::PathFileAccess : err::PathNotFound;
        break;
    default:
        break;
    }
    return Failure(number, describe(device), source);
}

} // namespace vortan::intake
