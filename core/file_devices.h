#pragma once
// The devices through which the program reads and writes its files. Every
// reader opens the file it was given through readDevice(), every writer
// writes through saveDevice(); the program gets a plain QFile and a QSaveFile.
// Tests install a maker that hands out devices which fail part way (a full
// disk, a refused file, a card pulled while it is read), to prove that such
// a failure is reported with the right number and changes nothing.

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <memory>

namespace vortan::filedevices {

using ReadDeviceMaker = std::function<std::unique_ptr<QFile>(const QString& path)>;
using SaveDeviceMaker = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;

// A device for reading `path`, not yet open.
std::unique_ptr<QFile> readDevice(const QString& path);

// A save file for writing `path` whole, not yet open.
std::unique_ptr<QSaveFile> saveDevice(const QString& path);

// Every byte from the device's position to its end. Unlike QIODevice::readAll,
// which takes a short read for the end of the file, it reads on until the
// device says end or fails, so a medium that fails part way leaves error()
// set instead of handing back a silently shortened file.
QByteArray readToEnd(QFileDevice& device);

// Replaces the makers until the object is destroyed; an empty maker keeps
// the program's own. Install before the code under test runs, on one thread.
class ScopedDeviceMakers {
public:
    ScopedDeviceMakers(ReadDeviceMaker reader, SaveDeviceMaker writer);
    ~ScopedDeviceMakers();
    ScopedDeviceMakers(const ScopedDeviceMakers&) = delete;
    ScopedDeviceMakers& operator=(const ScopedDeviceMakers&) = delete;

private:
    ReadDeviceMaker previousReader_;
    SaveDeviceMaker previousWriter_;
};

} // namespace vortan::filedevices
