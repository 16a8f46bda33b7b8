#include "intake/exchange_line.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/survey_number.h"

namespace vortan::intake {

ExchangeLine::ExchangeLine(QStringView text, int lineNumber) : lineNumber_(lineNumber)
{
    if (text.isEmpty())
        return;
    // Each field is copied once, without its double quotes.
    fields_.reserve(ExchangeFieldCount);
    for (const QStringView piece : text.tokenize(QLatin1Char(','))) {
        if (!piece.contains(QLatin1Char('"'))) {
            fields_.append(piece.toString());
            continue;
        }
        QString field;
        field.reserve(piece.size());
        for (const QChar ch : piece)
            if (ch != QLatin1Char('"'))
                field += ch;
        fields_.append(field);
    }
}

QString ExchangeLine::field(int n) const
{
    if (fields_.isEmpty())
        return QString();
    if (n >= 1 && n <= fields_.size())
        return fields_.at(n - 1);
    if (n == 29 && fields_.size() == 28)
        return fields_.at(1);
    throw Failure(ExchangeFieldMissing,
                  QStringLiteral("%1行目に%2番目の項目がありません（項目数 %3）。")
                      .arg(lineNumber_)
                      .arg(n)
                      .arg(fields_.size()),
                  QStringLiteral("ExchangeFile"));
}

ExchangeRecords ReadExchangeRecords(const ExchangeLine& line)
{
    ExchangeRecords r;
    const std::int32_t number = ReadSurveyNumber(line.field(1), QStringLiteral("ExchangeFile"));

    r.survey.調査地区No = number;
    r.survey.現場名 = line.field(3);
    r.survey.住所 = line.field(4);
    r.survey.調査目的 = line.field(5);
    r.survey.調査責任者 = line.field(6);
    r.survey.調査者 = line.field(7);
    r.survey.調査開始時刻 = line.field(8);
    r.survey.調査終了時刻 = line.field(9);
    r.survey.調査日 = line.field(10);
    r.survey.天候 = line.field(11);
    r.survey.標高 = line.field(12);
    r.survey.得意先名 = line.field(13);
    r.survey.記事 = line.field(14);

    r.point.調査地区No = number;
    r.point.測点No = line.field(2);
    r.point.標高差 = line.field(15);
    r.point.地下水位 = line.field(16);
    r.point.記事 = line.field(17);
    r.point.日付 = line.field(23);
    r.point.開始時刻 = line.field(24);
    r.point.終了時刻 = line.field(25);
    r.point.印刷測点No = line.field(29);
    if (r.point.印刷測点No.isEmpty())
        r.point.印刷測点No = line.field(2);

    r.record.調査地区No = number;
    r.record.測点No = line.field(2);
    // Depth and torque are converted here, so that a value beyond the single
    // range fails the import (6) instead of the row's insert, which would
    // leave the row out.
    r.record.貫入深さ = numtext::toSingle(numtext::leadingNumber(line.field(18)));
    r.record.打撃回数 = numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(line.field(19))));
    r.record.トルク = numtext::toSingle(numtext::leadingNumber(line.field(20)));
    r.record.推定土質 = line.field(21);
    r.record.記事 = line.field(22);
    r.record.日付 = line.field(26);
    r.record.開始時刻 = line.field(27);
    r.record.終了時刻 = line.field(28);
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
