#pragma once
// Devices that fail the way disks and memory cards do, for proving that a
// failed read or write is reported with the right number and changes nothing.
// The failures are real ones of the operating system: past the byte limit the
// device's file handle is swapped for one that refuses the operation (a full
// disk answers "no space", a pulled card "cannot read"), so Qt reports the
// same errors it reports for real hardware.

#include "core/file_devices.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <optional>
#include <vector>

namespace vortan::test {

enum class DeviceFault {
    RefuseRead,   // the file cannot be opened for reading: it may not be read
    RefuseWrite,  // the file cannot be made: its folder or medium refuses it
    DiskFull,     // writing past the limit finds the disk full
    WriteError,   // writing past the limit fails: the medium stopped taking data
    ReadError,    // reading past the limit fails; the file stays where it is
    CardPulled,   // reading past the limit fails, and the file's folder is gone
};

// A file for reading that fails as told once `limit` bytes were read.
// RefuseRead also reports that the file may not be read.
class FailingReadFile : public QFile {
public:
    FailingReadFile(const QString& path, DeviceFault fault, qint64 limit = 0);

    bool open(OpenMode mode) override;
    Permissions permissions() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    DeviceFault fault_;
    qint64 limit_;
    qint64 served_ = 0;
    bool failed_ = false;
};

// A save file that fails as told once `limit` bytes were written.
class FailingSaveFile : public QSaveFile {
public:
    FailingSaveFile(const QString& path, DeviceFault fault, qint64 limit = 0);

    bool open(OpenMode mode) override;

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    DeviceFault fault_;
    qint64 limit_;
    qint64 written_ = 0;
    bool failed_ = false;
};

// Hands the program's readers (RefuseRead, ReadError, CardPulled) or writers
// (the others) a
// failing device for every file named `fileName` (letter case ignored) while
// the object lives; other files get the program's own devices.
class FailingDevices {
public:
    FailingDevices(const QString& fileName, DeviceFault fault, qint64 limit = 0);

    // How many failing devices were handed out.
    int handedOut() const { return *handedOut_; }

private:
    std::shared_ptr<int> handedOut_ = std::make_shared<int>(0);
    std::optional<filedevices::ScopedDeviceMakers> makers_;
};

// The failures every writer is tried with and the number each must give: a
// refused file 70, a disk full at the first byte or after `partWay` bytes 61,
// a medium that stops taking data after `partWay` bytes 75.
struct WriteFailureCase {
    const char* name;
    DeviceFault fault;
    qint64 limit;
    int number;
};
std::vector<WriteFailureCase> writeFailureCases(qint64 partWay);

} // namespace vortan::test
