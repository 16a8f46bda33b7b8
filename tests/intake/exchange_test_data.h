#pragma once
// Surveys of the exchange-file tests, stored through the survey store, and
// exchange lines built field by field.

#include "db/survey_store.h"

#include <QString>
#include <QStringList>

namespace vortan::test {

// A line of the exchange file: every field between double quotes, CR LF.
inline QString exchangeLine(const QStringList& fields)
{
    return QLatin1Char('"') + fields.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n");
}

inline db::SurveyRow exchangeSurvey(std::int32_t number)
{
    db::SurveyRow s;
    s.調査地区No = number;
    s.現場名 = QStringLiteral("髙橋邸①～ｱｲｳ");
    s.住所 = QStringLiteral("東京都千代田区");
    s.調査目的 = QStringLiteral("住宅基礎の地盤調査");
    s.調査責任者 = QStringLiteral("山田");
    s.調査者 = QStringLiteral("佐藤");
    s.調査開始時刻 = QStringLiteral("0930");
    s.調査終了時刻 = QStringLiteral("1150");
    s.調査日 = QStringLiteral("20051001");
    s.天候 = QStringLiteral("晴れ");
    s.標高 = QStringLiteral("12.5");
    s.得意先名 = QStringLiteral("一般");
    return s;   // 記事 stays empty
}

inline db::PointRow exchangePoint(std::int32_t number, const QString& no, const QString& printed)
{
    db::PointRow p;
    p.調査地区No = number;
    p.測点No = no;
    p.標高差 = no == QStringLiteral("1") ? QStringLiteral("0") : QString();
    p.日付 = QStringLiteral("051001");
    p.開始時刻 = QStringLiteral("0930");
    p.終了時刻 = QStringLiteral("0941");
    p.印刷測点No = printed;
    return p;
}

inline db::RecordRow exchangeRecord(std::int32_t number, const QString& no, float depth,
                                    std::int16_t blows, float torque, const QString& soil,
                                    const QString& remark = QString())
{
    db::RecordRow r;
    r.調査地区No = number;
    r.測点No = no;
    r.貫入深さ = depth;
    r.打撃回数 = blows;
    r.トルク = torque;
    r.推定土質 = soil;
    r.記事 = remark;
    r.日付 = QStringLiteral("051001");
    r.開始時刻 = QStringLiteral("0930");
    r.終了時刻 = QStringLiteral("0941");
    return r;
}

// Survey `number`: point 1 with records at 0.5 and 0.25 m (stored in that
// order), point 2 printed as "P2" with one record, point 3 without records.
inline void storeExchangeSurvey(db::SurveyStore& store, std::int32_t number)
{
    store.insertSurvey(exchangeSurvey(number));
    store.insertPoint(exchangePoint(number, QStringLiteral("1"), QStringLiteral("1")));
    store.insertRecord(exchangeRecord(number, QStringLiteral("1"), 0.5f, 4, 12.0f, QStringLiteral("1")));
    store.insertRecord(exchangeRecord(number, QStringLiteral("1"), 0.25f, 3, 10.5f, QStringLiteral("1")));
    store.insertPoint(exchangePoint(number, QStringLiteral("2"), QStringLiteral("P2")));
    store.insertRecord(
        exchangeRecord(number, QStringLiteral("2"), 0.25f, 7, 0.0f, QStringLiteral("2"), QStringLiteral("礫")));
    store.insertPoint(exchangePoint(number, QStringLiteral("3"), QStringLiteral("3")));
}

// The lines Write gives for storeExchangeSurvey(number): ordered by point
// and depth; point 3 has no records and is not written; empty columns give
// empty fields.
inline QString exchangeSurveyLines(std::int32_t number)
{
    const QString n = QString::number(number);
    const QStringList survey{QStringLiteral("髙橋邸①～ｱｲｳ"), QStringLiteral("東京都千代田区"),
                             QStringLiteral("住宅基礎の地盤調査"), QStringLiteral("山田"),
                             QStringLiteral("佐藤"), QStringLiteral("0930"), QStringLiteral("1150"),
                             QStringLiteral("20051001"), QStringLiteral("晴れ"), QStringLiteral("12.5"),
                             QStringLiteral("一般"), QString()};
    const QStringList times{QStringLiteral("051001"), QStringLiteral("0930"), QStringLiteral("0941")};
    auto line = [&](const QString& point, const QString& height, const QStringList& record,
                    const QString& printed) {
        return exchangeLine(QStringList{n, point} + survey + QStringList{height, QString(), QString()}
                            + record + times + times + QStringList{printed});
    };
    return line("1", "0", {"0.25", "3", "10.5", "1", ""}, "1")
        + line("1", "0", {"0.5", "4", "12", "1", ""}, "1")
        + line("2", "", {"0.25", "7", "0", "2", "礫"}, "P2");
}

} // namespace vortan::test
