#include "calc/qa_param_file.h"

#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vortan::calc {

const std::vector<QaParamRecord>& QaParamFile::records(const QString& path)
{
    if (lookOnce_ && lookedAt_ && path == path_)
        return records_;
    lookedAt_ = lookOnce_;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        path_.clear();
        size_ = -1;
        records_.clear();
        return records_;
    }
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (path == path_ && size == size_ && modified == modified_)
        return records_;

    records_.clear();
    path_.clear();
    const std::unique_ptr<QFile> file = filedevices::readDevice(path);
    if (!file->open(QIODevice::ReadOnly))
        throw Failure(err::PermissionDenied, file->errorString(), QDir::toNativeSeparators(path));
    const QByteArray bytes = filedevices::readToEnd(*file);
    if (file->error() != QFileDevice::NoError) {
        // Half the records would silently give empty qa values: report the
        // read, and read the file again next time. A file gone during the
        // read went with its drive.
        throw Failure(QFileInfo::exists(path) ? err::PathFileAccess : err::DiskNotReady,
                      file->errorString(), QDir::toNativeSeparators(path));
    }
    file->close();
    ++readCount_;
    const qsizetype count = bytes.size() / QaParamRecordSize;
    records_.reserve(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        records_.push_back(decodeQaParamRecord(QByteArrayView(bytes).sliced(i * QaParamRecordSize,
                                                                            QaParamRecordSize)));
    path_ = path;
    size_ = size;
    modified_ = modified;
    return records_;
}

QaParamRecord QaParamFile::findQaParams(const QString& path, const QaSet& set, const QString& soil)
{
    const std::int16_t code = numtext::toInt16(numtext::leadingNumber(set.code));
    if (code == 0)
        return QaParamRecord();
    const QStringView wanted = trimBlanks(soil);
    for (const QaParamRecord& record : records(path)) {
        if (record.seriesCode == code && qaRecordSoil(record.soilName) == wanted)
            return record;
    }
    return QaParamRecord();
}

} // namespace vortan::calc
