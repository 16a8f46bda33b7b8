#pragma once
// One record of qaTbl.tbl, the bearing capacity parameters of one series and
// soil: 240 bytes, little-endian, without header.
//   offset   0  int16     series code (a 計算式コード of mstQa値計算式)
//   offset   2  20 bytes  soil name, code page 932, padded with blanks
//   offset  22  54 float  parameters P1..P54
//   offset 238  int16     rounding mode of φ: 0 round up, 1 truncate, 2 half away from zero

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace vortan::calc {

inline constexpr int QaParamRecordSize = 240;
inline constexpr int QaParamNameSize = 20;
inline constexpr int QaParamCount = 54;

struct QaParamRecord {
    std::int16_t seriesCode = 0;
    QString soilName;                       // as stored, padding included
    std::array<float, QaParamCount> p{};    // p[0] is P1
    std::int16_t roundingMode = 0;

    // Parameter Pn by its 1-based number.
    float P(int n) const { return p[static_cast<std::size_t>(n - 1)]; }
};

// A name without the blanks around it: blanks only, as the names are padded
// with code page 932 blanks, and a soil name may itself hold an ideographic
// space.
QStringView trimBlanks(QStringView text);
// The soil a record belongs to: its stored name cut before its first blank,
// trimmed of blanks.
QStringView qaRecordSoil(const QString& stored);

// Reads one record from exactly QaParamRecordSize bytes.
QaParamRecord decodeQaParamRecord(QByteArrayView bytes);

// Writes one record: the soil name in code page 932, cut or padded with
// blanks to its 20 bytes.
QByteArray encodeQaParamRecord(const QaParamRecord& record);

} // namespace vortan::calc
