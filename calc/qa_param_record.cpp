#include "calc/qa_param_record.h"

#include "core/cp932.h"

#include <QtEndian>
#include <cstring>

namespace vortan::calc {

namespace {
constexpr int NameOffset = 2;
constexpr int ParamOffset = NameOffset + QaParamNameSize;
constexpr int ModeOffset = ParamOffset + 4 * QaParamCount;
static_assert(ModeOffset + 2 == QaParamRecordSize);
} // namespace

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QStringView qaRecordSoil(const QString& stored)
{
    const qsizetype blank = stored.indexOf(u' ');
    return trimBlanks(blank >= 0 ? QStringView(stored).left(blank) : QStringView(stored));
}

QaParamRecord decodeQaParamRecord(QByteArrayView bytes)
{
    Q_ASSERT(bytes.size() >= QaParamRecordSize);
    const char* data = bytes.data();
    QaParamRecord record;
    record.seriesCode = qFromLittleEndian<qint16>(data);
    record.soilName = cp932::decode(bytes.sliced(NameOffset, QaParamNameSize));
    for (int i = 0; i < QaParamCount; ++i)
        record.p[static_cast<std::size_t>(i)] = qFromLittleEndian<float>(data + ParamOffset + 4 * i);
    record.roundingMode = qFromLittleEndian<qint16>(data + ModeOffset);
    return record;
}

QByteArray encodeQaParamRecord(const QaParamRecord& record)
{
    QByteArray bytes(QaParamRecordSize, '\0');
    char* data = bytes.data();
    qToLittleEndian<qint16>(record.seriesCode, data);
    QByteArray name = cp932::encode(record.soilName).left(QaParamNameSize);
    name.append(QByteArray(QaParamNameSize - name.size(), ' '));
    std::memcpy(data + NameOffset, name.constData(), QaParamNameSize);
    for (int i = 0; i < QaParamCount; ++i)
        qToLittleEndian<float>(record.p[static_cast<std::size_t>(i)], data + ParamOffset + 4 * i);
    qToLittleEndian<qint16>(record.roundingMode, data + ModeOffset);
    return bytes;
}

} // namespace vortan::calc
