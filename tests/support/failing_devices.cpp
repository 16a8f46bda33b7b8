#include "support/failing_devices.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vortan::test {

namespace {

// Swaps the open file handle for one on which the next operation fails:
// "/dev/full" answers every write with "no space left on device", a folder
// answers reads with an error and a read-only handle refuses writes.
void swapHandle(int handle, DeviceFault fault)
{
#ifdef Q_OS_UNIX
    int replacement = -1;
    switch (fault) {
    case DeviceFault::DiskFull:
        replacement = ::open("/dev/full", O_WRONLY);
        break;
    case DeviceFault::WriteError:
        replacement = ::open("/dev/null", O_RDONLY);
        break;
    default:
        replacement = ::open("/", O_RDONLY);
        break;
    }
    if (replacement >= 0 && handle >= 0) {
        ::dup2(replacement, handle);
        ::close(replacement);
    }
#else
    Q_UNUSED(handle);
    Q_UNUSED(fault);
#endif
}

} // namespace

FailingReadFile::FailingReadFile(const QString& path, DeviceFault fault, qint64 limit)
    : QFile(path), fault_(fault), limit_(limit)
{
}

bool FailingReadFile::open(OpenMode mode)
{
    if (fault_ == DeviceFault::RefuseRead)
        return false;
    return QFile::open(mode);
}

QFileDevice::Permissions FailingReadFile::permissions() const
{
    Permissions granted = QFile::permissions();
    if (fault_ == DeviceFault::RefuseRead)
        granted &= ~(ReadUser | ReadOwner | ReadGroup | ReadOther);
    return granted;
}

qint64 FailingReadFile::readData(char* data, qint64 maxSize)
{
    if (!failed_ && served_ >= limit_) {
        failed_ = true;
        if (fault_ == DeviceFault::CardPulled)
            QDir(QFileInfo(fileName()).absolutePath()).removeRecursively();
        swapHandle(handle(), fault_);
    }
    const qint64 count = QFile::readData(data, failed_ ? maxSize : qMin(maxSize, limit_ - served_));
    if (count > 0)
        served_ += count;
    return count;
}

FailingSaveFile::FailingSaveFile(const QString& path, DeviceFault fault, qint64 limit)
    : QSaveFile(path), fault_(fault), limit_(limit)
{
}

bool FailingSaveFile::open(OpenMode mode)
{
    if (fault_ == DeviceFault::RefuseWrite)
        return false;
    return QSaveFile::open(mode);
}

qint64 FailingSaveFile::writeData(const char* data, qint64 length)
{
    if (!failed_ && written_ + length > limit_) {
        // The bytes that still fit go out first, as a disk fills part way
        // through a write.
        if (limit_ > written_) {
            const qint64 count = QSaveFile::writeData(data, limit_ - written_);
            if (count > 0)
                written_ += count;
            return count;
        }
        failed_ = true;
        swapHandle(handle(), fault_);
    }
    const qint64 count = QSaveFile::writeData(data, length);
    if (count > 0)
        written_ += count;
    return count;
}

FailingDevices::FailingDevices(const QString& fileName, DeviceFault fault, qint64 limit)
{
    const bool reading = fault == DeviceFault::RefuseRead || fault == DeviceFault::ReadError
                         || fault == DeviceFault::CardPulled;
    auto matches = [fileName](const QString& path) {
        return QFileInfo(path).fileName().compare(fileName, Qt::CaseInsensitive) == 0;
    };
    std::shared_ptr<int> counter = handedOut_;
    filedevices::ReadDeviceMaker reader;
    filedevices::SaveDeviceMaker writer;
    if (reading) {
        reader = [=](const QString& path) -> std::unique_ptr<QFile> {
            if (!matches(path))
                return std::make_unique<QFile>(path);
            ++*counter;
            return std::make_unique<FailingReadFile>(path, fault, limit);
        };
    }
    else {
        writer = [=](const QString& path) -> std::unique_ptr<QSaveFile> {
            if (!matches(path))
                return std::make_unique<QSaveFile>(path);
            ++*counter;
            return std::make_unique<FailingSaveFile>(path, fault, limit);
        };
    }
    makers_.emplace(std::move(reader), std::move(writer));
}

std::vector<WriteFailureCase> writeFailureCases(qint64 partWay)
{
    return {
        {"the folder refuses the file", DeviceFault::RefuseWrite, 0, 70},
        {"the disk is full at the first byte", DeviceFault::DiskFull, 0, 61},
        {"the disk fills part way", DeviceFault::DiskFull, partWay, 61},
        {"the medium stops taking data", DeviceFault::WriteError, partWay, 75},
    };
}

} // namespace vortan::test
