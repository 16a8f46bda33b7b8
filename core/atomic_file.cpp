#include "core/atomic_file.h"

#include "core/failure.h"
#include "core/file_devices.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vortan {

namespace {

std::int32_t failureNumber(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return err::PermissionDenied;
    case QFileDevice::ResourceError:
        return err::DiskFull;
    default:
        return err::PathFileAccess;
    }
}

[[noreturn]] void throwWriteFailure(QFileDevice::FileError error, const QString& description,
                                    const QSaveFile& file)
{
    throw Failure(failureNumber(error),
                  description.isEmpty() ? QStringLiteral("Write error") : description,
                  QDir::toNativeSeparators(file.fileName()));
}

} // namespace

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    // A folder that cannot be made shows when the file cannot be opened.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::unique_ptr<QSaveFile> file = filedevices::saveDevice(path);
    writeFileAtomically(*file, bytes);
}

void writeFileAtomically(QSaveFile& file, QByteArrayView bytes)
{
    // Unbuffered: a buffered save file writes its last bytes while committing,
    // and a disk that is full just then fails without stopping the commit,
    // which puts the shortened file in place of the old one.
    if (!file.isOpen() && !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A folder that is not there at all: the path is wrong (76).
        if (!QFileInfo::exists(QFileInfo(file.fileName()).absolutePath()))
            throw Failure(err::PathNotFound, file.errorString(), QDir::toNativeSeparators(file.fileName()));
        // A device that refused to open without naming why refused the file.
        const QFileDevice::FileError error =
            file.error() == QFileDevice::NoError ? QFileDevice::OpenError : file.error();
        throwWriteFailure(error, file.errorString(), file);
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.data() + written, bytes.size() - written);
        if (count <= 0) {
            const QFileDevice::FileError error = file.error();
            const QString description = file.errorString();
            file.cancelWriting();  // the temporary file goes, the old file stays
            throwWriteFailure(error, description, file);
        }
        written += count;
    }
    if (file.error() != QFileDevice::NoError) {
        const QFileDevice::FileError error = file.error();
        const QString description = file.errorString();
        file.cancelWriting();
        throwWriteFailure(error, description, file);
    }
    if (!file.commit())
        throwWriteFailure(file.error(), file.errorString(), file);
}

} // namespace vortan
