#include "calc/qa_param_file_writer.h"

#include "calc/qa_param_file.h"
#include "core/failure.h"
#include "core/file_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <filesystem>
#include <system_error>

namespace vortan::calc {

namespace {

[[noreturn]] void fail(std::int32_t number, const QString& description, const QString& path)
{
    throw Failure(number, description, QDir::toNativeSeparators(path));
}

QByteArray readWhole(const QString& path)
{
    if (!QFile::exists(path))
        return {};
    const std::unique_ptr<QFile> file = filedevices::readDevice(path);
    if (!file->open(QIODevice::ReadOnly))
        fail(err::PermissionDenied, file->errorString(), path);
    QByteArray bytes = filedevices::readToEnd(*file);
    if (file->error() != QFileDevice::NoError)
        fail(QFile::exists(path) ? err::PathFileAccess : err::DiskNotReady, file->errorString(), path);
    return bytes;
}

std::unique_ptr<QIODevice> openFile(const QString& path)
{
    return std::make_unique<QFile>(path);
}

void writeScratch(QIODevice& device, const QString& path, const QByteArray& bytes)
{
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(err::PermissionDenied, device.errorString(), path);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = device.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            fail(err::DiskFull, device.errorString(), path);
        written += count;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&device)) {
        if (!file->flush())
            fail(err::DiskFull, file->errorString(), path);
    }
    device.close();
    if (auto* file = qobject_cast<QFileDevice*>(&device); file && file->error() != QFileDevice::NoError)
        fail(err::PathFileAccess, file->errorString(), path);
}

} // namespace

QString FindFileIgnoringCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

void ReplaceQaSeries(const QString& folder, std::int16_t code, const std::vector<QaParamRecord>& records,
                     const ScratchOpener& openScratch)
{
    const QString target = FindFileIgnoringCase(folder, QString::fromLatin1(QaParamFileName));
    const QString scratch = FindFileIgnoringCase(folder, QString::fromLatin1(QaScratchFileName));

    // The kept records of the other series, whole records only, in file order.
    const QByteArray old = readWhole(target);
    QByteArray bytes;
    const qsizetype count = old.size() / QaParamRecordSize;
    bytes.reserve((count + static_cast<qsizetype>(records.size())) * QaParamRecordSize);
    for (qsizetype i = 0; i < count; ++i) {
        const char* record = old.constData() + i * QaParamRecordSize;
        if (qFromLittleEndian<qint16>(record) != code)
            bytes.append(record, QaParamRecordSize);
    }
    for (const QaParamRecord& record : records)
        bytes.append(encodeQaParamRecord(record));

    try {
        std::unique_ptr<QIODevice> device = openScratch ? openScratch(scratch) : openFile(scratch);
        writeScratch(*device, scratch, bytes);
    } catch (const Failure&) {
        QFile::remove(scratch);
        throw;
    }

    // One rename puts the complete new file in place of the old one.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(scratch.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error) {
        QFile::remove(scratch);
        fail(err::PathFileAccess, QString::fromStdString(error.message()), target);
    }
}

} // namespace vortan::calc
