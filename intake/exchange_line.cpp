#include "intake/exchange_line.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/survey_number.h"

namespace vortan::intake {

namespace {

// The text of a field as it is usually written: printable ASCII (which
// reads the same in code page 932, whose control characters 0x1A, 0x1C and
// 0x7F do not) enclosed in double quotes or in none. False for any other.
bool plainAscii(QByteArrayView raw, QByteArrayView& text)
{
    text = raw.size() >= 2 && raw.front() == '"' && raw.back() == '"' ? raw.sliced(1, raw.size() - 2) : raw;
    for (const char b : text)
        if (b < 0x20 || b > 0x7E || b == '"')
            return false;
    return true;
}

} // namespace

ExchangeLine::ExchangeLine(QByteArrayView bytes, int lineNumber) : bytes_(bytes), lineNumber_(lineNumber)
{
    if (bytes.isEmpty())
        return;
    // Code page 932 never uses a comma or a double quote as the second byte
    // of a character, so the line splits at its comma bytes.
    bounds_.append(-1);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == ',')
            bounds_.append(i);
    bounds_.append(bytes.size());
}

QByteArrayView ExchangeLine::rawField(int n) const
{
    const int count = fieldCount();
    if (count == 0)
        return {};
    if (n == 29 && count == 28)
        n = 2;
    if (n >= 1 && n <= count) {
        const qsizetype begin = bounds_[n - 1] + 1;
        return bytes_.sliced(begin, bounds_[n] - begin);
    }
    throw Failure(ExchangeFieldMissing,
                  QStringLiteral("%1行目に%2番目の項目がありません（項目数 %3）。")
                      .arg(lineNumber_)
                      .arg(n)
                      .arg(count),
                  QStringLiteral("ExchangeFile"));
}

QString ExchangeLine::field(int n) const
{
    const QByteArrayView raw = rawField(n);
    QByteArrayView ascii;
    if (plainAscii(raw, ascii))
        return QString::fromLatin1(ascii);
    // The pieces between double quotes are decoded one by one, as the whole
    // line would be: an undefined byte before a quote or a comma never joins
    // the byte after it.
    QString text;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= raw.size(); ++i) {
        if (i == raw.size() || raw[i] == '"') {
            if (i > begin)
                text += cp932::decode(raw.sliced(begin, i - begin));
            begin = i + 1;
        }
    }
    return text;
}

bool ExchangeLine::fieldEquals(int n, QStringView text) const
{
    const QByteArrayView raw = rawField(n);
    QByteArrayView ascii;
    if (plainAscii(raw, ascii))
        return text == QLatin1String(ascii.data(), ascii.size());
    return field(n) == text;
}

std::int32_t ReadExchangeSurveyNumber(const ExchangeLine& line)
{
    return ReadSurveyNumber(line.field(1), QStringLiteral("ExchangeFile"));
}

db::SurveyRow ReadExchangeSurvey(const ExchangeLine& line, std::int32_t number)
{
    db::SurveyRow survey;
    survey.調査地区No = number;
    survey.現場名 = line.field(3);
    survey.住所 = line.field(4);
    survey.調査目的 = line.field(5);
    survey.調査責任者 = line.field(6);
    survey.調査者 = line.field(7);
    survey.調査開始時刻 = line.field(8);
    survey.調査終了時刻 = line.field(9);
    survey.調査日 = line.field(10);
    survey.天候 = line.field(11);
    survey.標高 = line.field(12);
    survey.得意先名 = line.field(13);
    survey.記事 = line.field(14);
    return survey;
}

db::PointRow ReadExchangePoint(const ExchangeLine& line, std::int32_t number)
{
    db::PointRow point;
    point.調査地区No = number;
    point.測点No = line.field(2);
    point.標高差 = line.field(15);
    point.地下水位 = line.field(16);
    point.記事 = line.field(17);
    point.日付 = line.field(23);
    point.開始時刻 = line.field(24);
    point.終了時刻 = line.field(25);
    point.印刷測点No = line.field(29);
    if (point.印刷測点No.isEmpty())
        point.印刷測点No = line.field(2);
    return point;
}

bool IsExchangePoint(const ExchangeLine& line, std::int32_t number, const db::PointRow& point)
{
    return number == point.調査地区No && line.fieldEquals(2, point.測点No) && line.fieldEquals(23, point.日付)
        && line.fieldEquals(24, point.開始時刻) && line.fieldEquals(25, point.終了時刻);
}

db::RecordRow ReadExchangeRecord(const ExchangeLine& line, std::int32_t number)
{
    db::RecordRow record;
    record.調査地区No = number;
    record.測点No = line.field(2);
    // Depth and torque are converted here, so that a value beyond the single
    // range fails the import (6) instead of the row's insert, which would
    // leave the row out.
    record.貫入深さ = numtext::toSingle(numtext::leadingNumber(line.field(18)));
    record.打撃回数 = numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(line.field(19))));
    record.トルク = numtext::toSingle(numtext::leadingNumber(line.field(20)));
    record.推定土質 = line.field(21);
    record.記事 = line.field(22);
    record.日付 = line.field(26);
    record.開始時刻 = line.field(27);
    record.終了時刻 = line.field(28);
    return record;
}

ExchangeRecords ReadExchangeRecords(const ExchangeLine& line)
{
    const std::int32_t number = ReadExchangeSurveyNumber(line);
    ExchangeRecords r;
    r.survey = ReadExchangeSurvey(line, number);
    r.point = ReadExchangePoint(line, number);
    r.record = ReadExchangeRecord(line, number);
    return r;
}

QString exchangeFieldLabel(int n)
{
    static const char* const labels[ExchangeFieldCount] = {
        "調査地区No", "測点No", "現場名", "住所", "調査目的", "調査責任者", "調査者",
        "調査開始時刻", "調査終了時刻", "調査日", "天候", "標高", "得意先名", "調査地区の記事",
        "標高差", "地下水位", "測点の記事", "貫入深さ", "打撃回数", "トルク", "推定土質",
        "測点データの記事", "測点の日付", "測点の開始時刻", "測点の終了時刻", "測点データの日付",
        "測点データの開始時刻", "測点データの終了時刻", "印刷測点No"};
    if (n < 1 || n > ExchangeFieldCount)
        return QString();
    return QString::fromUtf8(labels[n - 1]);
}

} // namespace vortan::intake
