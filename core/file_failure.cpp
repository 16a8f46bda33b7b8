#include "core/file_failure.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

namespace vortan {

namespace {

QString describe(const QFileDevice& device)
{
    return QDir::toNativeSeparators(device.fileName()) + QStringLiteral(": ") + device.errorString();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Failure notAFileFailure(const QString& path, const QString& source)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Failure(err::BadFileName,
                       QStringLiteral("「%1」はフォルダです。ファイルを指定してください。").arg(shown(path)),
                       source);
    return Failure(err::BadFileName,
                   QStringLiteral("「%1」は通常のファイルではありません（装置やパイプなど）。"
                                  "読み書きできるのは通常のファイルだけです。")
                       .arg(shown(path)),
                   source);
}

Failure fileReadFailure(const QFileDevice& device, const QString& source)
{
    const QFileInfo info(device.fileName());
    // A file that goes away while it is read went with its medium: the card
    // was pulled or the drive is gone.
    const bool wasReading = device.isOpen();
    if (!info.absoluteDir().exists())
        return Failure(wasReading ? err::DiskNotReady : err::PathNotFound, describe(device), source);
    if (!info.exists())
        return Failure(wasReading ? err::DiskNotReady : err::FileNotFound, describe(device), source);
    if (!info.isFile())
        return notAFileFailure(device.fileName(), source);
    if (device.error() == QFileDevice::PermissionsError
        || !device.permissions().testFlag(QFileDevice::ReadUser))
        return Failure(err::DeviceIO,
                       QStringLiteral("「%1」を読み込めません。このファイルを読む権限がありません。")
                           .arg(shown(device.fileName())),
                       source);
    return Failure(err::DeviceIO,
                   QStringLiteral("「%1」を読み込めません。読み込みの途中でエラーが起きました（%2）。")
                       .arg(shown(device.fileName()), device.errorString()),
                   source);
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

} // namespace vortan
