#include "sheet/data_sheet_statements.h"

#include "db/database.h"

namespace vortan::sheet {

namespace {
QString q(const QString& text)
{
    return db::quoted(text);
}
} // namespace

QString siteSelectSql(const QString& number)
{
    return QStringLiteral("SELECT ") + QStringLiteral("調査地区.* ") + QStringLiteral("From ")
        + QStringLiteral("調査地区 ") + QStringLiteral("Where ") + QStringLiteral("調査地区.調査地区No = ")
        + number + QStringLiteral(" ORDER BY 調査地区.調査地区No; ");
}

QString pointsSelectSql(const QString& number)
{
    return QStringLiteral("SELECT ") + QStringLiteral("測点.* ") + QStringLiteral("From ")
        + QStringLiteral("測点 ") + QStringLiteral("Where ") + QStringLiteral("調査地区No =") + number
        + QStringLiteral(" ") + QStringLiteral("ORDER BY 調査地区No, 測点No, 日付, 開始時刻, 終了時刻; ");
}

QString recordsSelectSql(const QString& number, const QString& pointNumber)
{
    return QStringLiteral("SELECT ") + QStringLiteral("測点データ.* ") + QStringLiteral("From ")
        + QStringLiteral("測点データ ") + QStringLiteral("Where ") + QStringLiteral("調査地区No = ") + number
        + QStringLiteral(" and 測点No = ") + QStringLiteral("'") + q(pointNumber) + QStringLiteral("'")
        + QStringLiteral(" ORDER BY 測点データ.調査地区No, 測点データ.測点No, 測点データ.貫入深さ; ");
}

QString siteExistsSql(const QString& number)
{
    return QStringLiteral("SELECT ") + QStringLiteral("調査地区.* ") + QStringLiteral("From ")
        + QStringLiteral("調査地区 ") + QStringLiteral("Where ") + QStringLiteral("調査地区.調査地区No = ")
        + number;
}

QString siteInsertSql(const QString& number, const SiteValues& v)
{
    const QString sep = QStringLiteral("', '");
    return QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,住所, 調査目的, 調査責任者, 調査者, "
                          "調査開始時刻, 調査終了時刻, 調査日, 天候, 標高, 得意先名, 記事) VALUES (")
        + number + QStringLiteral(", '") + q(v.現場名) + sep + q(v.住所) + sep + q(v.調査目的) + sep
        + q(v.調査責任者) + sep + q(v.調査者) + sep + q(v.調査開始時刻) + sep + q(v.調査終了時刻) + sep
        + q(v.調査日) + sep + q(v.天候) + sep + q(v.標高) + QStringLiteral("' , '") + q(v.得意先名) + sep
        + q(v.記事) + QStringLiteral("');");
}

QString pointInsertSql(const QString& number, const PointValues& v)
{
    const QString sep = QStringLiteral("', '");
    return QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位, 記事, "
                          "印刷測点No, 印刷) VALUES (")
        + number + QStringLiteral(", '") + q(v.測点No) + QStringLiteral("' , '") + q(v.日付) + sep
        + q(v.開始時刻) + sep + q(v.終了時刻) + sep + q(v.標高差) + sep + q(v.地下水位) + sep + q(v.記事)
        + sep + q(v.印刷測点No) + QStringLiteral("', ") + v.印刷 + QStringLiteral(");");
}

QString recordInsertSql(const QString& number, const RecordValues& v)
{
    const QString sep = QStringLiteral("', '");
    const QString bare = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数, "
                          "トルク, 推定土質, 記事) VALUES (")
        + number + QStringLiteral(", '") + q(v.測点No) + QStringLiteral("' , '") + q(v.日付) + sep
        + q(v.開始時刻) + sep + q(v.終了時刻) + QStringLiteral("', ") + v.貫入深さ + bare + v.打撃回数 + bare
        + v.トルク + bare + v.推定土質 + QStringLiteral(", '") + q(v.記事) + QStringLiteral("');");
}

} // namespace vortan::sheet
