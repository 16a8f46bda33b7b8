#include "core/file_devices.h"

#include <algorithm>

namespace vortan::filedevices {

namespace {

ReadDeviceMaker& readerMaker()
{
    static ReadDeviceMaker maker;
    return maker;
}

SaveDeviceMaker& writerMaker()
{
    static SaveDeviceMaker maker;
    return maker;
}

} // namespace

std::unique_ptr<QFile> readDevice(const QString& path)
{
    if (const ReadDeviceMaker& maker = readerMaker())
        return maker(path);
    return std::make_unique<QFile>(path);
}

std::unique_ptr<QSaveFile> saveDevice(const QString& path)
{
    if (const SaveDeviceMaker& maker = writerMaker())
        return maker(path);
    return std::make_unique<QSaveFile>(path);
}

QByteArray readToEnd(QFileDevice& device)
{
    QByteArray bytes;
    const qint64 expected = device.size() - device.pos();
    if (expected > 0)
        bytes.reserve(static_cast<qsizetype>(expected));
    constexpr qint64 ChunkSize = 1 << 16;
    for (;;) {
        const qsizetype start = bytes.size();
        bytes.resize(start + ChunkSize);
        const qint64 count = device.read(bytes.data() + start, ChunkSize);
        bytes.resize(start + std::max<qint64>(count, 0));
        if (count <= 0)   // 0 at the end, -1 when the read failed
            break;
    }
    return bytes;
}

ScopedDeviceMakers::ScopedDeviceMakers(ReadDeviceMaker reader, SaveDeviceMaker writer)
    : previousReader_(readerMaker()), previousWriter_(writerMaker())
{
    if (reader)
        readerMaker() = std::move(reader);
    if (writer)
        writerMaker() = std::move(writer);
}

ScopedDeviceMakers::~ScopedDeviceMakers()
{
    readerMaker() = std::move(previousReader_);
    writerMaker() = std::move(previousWriter_);
}

} // namespace vortan::filedevices
