#pragma once
// The SQL texts with which the data sheet reads and writes a survey. Numbers
// are pasted bare, texts between single quotes with their own quotes doubled.

#include <QString>

namespace vortan::sheet {

QString siteSelectSql(const QString& number);
QString pointsSelectSql(const QString& number);
QString recordsSelectSql(const QString& number, const QString& pointNumber);
// The overwrite check of the save.
QString siteExistsSql(const QString& number);

struct SiteValues {
    QString 現場名, 住所, 調査目的, 調査責任者, 調査者, 調査開始時刻, 調査終了時刻, 調査日, 天候, 標高,
        得意先名, 記事;
};
QString siteInsertSql(const QString& number, const SiteValues& v);

struct PointValues {
    QString 測点No, 日付, 開始時刻, 終了時刻, 標高差, 地下水位, 記事, 印刷測点No;
    QString 印刷;   // bare: the check-box value
};
QString pointInsertSql(const QString& number, const PointValues& v);

struct RecordValues {
    QString 測点No, 日付, 開始時刻, 終了時刻;
    QString 貫入深さ, 打撃回数, トルク, 推定土質;   // bare numbers
    QString 記事;
};
QString recordInsertSql(const QString& number, const RecordValues& v);

} // namespace vortan::sheet
