#include "core/atomic_file.h"

#include "core/failure.h"

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
    QSaveFile file(path);
    writeFileAtomically(file, bytes);
}

void writeFileAtomically(QSaveFile& file, QByteArrayView bytes)
{
    if (!file.isOpen() && !file.open(QIODevice::WriteOnly))
        throwWriteFailure(file.error(), file.errorString(), file);
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
    if (!file.commit())
        throwWriteFailure(file.error(), file.errorString(), file);
}

} // namespace vortan
