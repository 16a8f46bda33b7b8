#include "sheet/postal_lookup.h"

#include "db/database.h"
#include "db/record_set.h"

namespace vortan::sheet {

namespace {

QString inDoubleQuotes(QString text)
{
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// SELECT of one column's distinct values under a condition: by name, or
// grouped and ordered by the first row of each value in code order.
QString distinctValues(const QString& column, const QString& condition, bool inCodeOrder)
{
    if (!inCodeOrder)
        return QStringLiteral("SELECT DISTINCT 〒.") + column + QStringLiteral(" From 〒 where ") + condition
            + QStringLiteral(" ORDER BY 〒.") + column;
    return QStringLiteral("SELECT 〒.") + column + QStringLiteral(" From 〒 where ") + condition
        + QStringLiteral(" GROUP BY 〒.") + column + QStringLiteral(" ORDER BY Min(〒.表示順)");
}

} // namespace

const QStringList& PrefecturesInCodeOrder()
{
    static const QStringList names = {
        QStringLiteral("北海道"),   QStringLiteral("青森県"),   QStringLiteral("岩手県"),
        QStringLiteral("宮城県"),   QStringLiteral("秋田県"),   QStringLiteral("山形県"),
        QStringLiteral("福島県"),   QStringLiteral("茨城県"),   QStringLiteral("栃木県"),
        QStringLiteral("群馬県"),   QStringLiteral("埼玉県"),   QStringLiteral("千葉県"),
        QStringLiteral("東京都"),   QStringLiteral("神奈川県"), QStringLiteral("新潟県"),
        QStringLiteral("富山県"),   QStringLiteral("石川県"),   QStringLiteral("福井県"),
        QStringLiteral("山梨県"),   QStringLiteral("長野県"),   QStringLiteral("岐阜県"),
        QStringLiteral("静岡県"),   QStringLiteral("愛知県"),   QStringLiteral("三重県"),
        QStringLiteral("滋賀県"),   QStringLiteral("京都府"),   QStringLiteral("大阪府"),
        QStringLiteral("兵庫県"),   QStringLiteral("奈良県"),   QStringLiteral("和歌山県"),
        QStringLiteral("鳥取県"),   QStringLiteral("島根県"),   QStringLiteral("岡山県"),
        QStringLiteral("広島県"),   QStringLiteral("山口県"),   QStringLiteral("徳島県"),
        QStringLiteral("香川県"),   QStringLiteral("愛媛県"),   QStringLiteral("高知県"),
        QStringLiteral("福岡県"),   QStringLiteral("佐賀県"),   QStringLiteral("長崎県"),
        QStringLiteral("熊本県"),   QStringLiteral("大分県"),   QStringLiteral("宮崎県"),
        QStringLiteral("鹿児島県"), QStringLiteral("沖縄県"),
    };
    return names;
}

QStringList inPrefectureCodeOrder(const QStringList& names)
{
    QStringList ordered;
    for (const QString& prefecture : PrefecturesInCodeOrder())
        if (names.contains(prefecture))
            ordered << prefecture;
    for (const QString& name : names)
        if (!PrefecturesInCodeOrder().contains(name))
            ordered << name;
    return ordered;
}

bool hasPostalCodeOrder(db::Database& postal)
{
    db::RecordSet rows = postal.openRecordSet(QStringLiteral("SELECT 〒.* From 〒 where 1 = 0"));
    const bool has = rows.hasField(QStringLiteral("表示順"));
    rows.close();
    return has;
}

QString 都道府県Query()
{
    return QStringLiteral("SELECT DISTINCT 〒.都道府県名 From 〒 ORDER BY 〒.都道府県名");
}

QString 市区町村Query(const QString& 都道府県名, bool inCodeOrder)
{
    return distinctValues(QStringLiteral("市区町村名"), QStringLiteral("〒.都道府県名 = ") + inDoubleQuotes(都道府県名),
                          inCodeOrder);
}

QString 町域Query(const QString& 都道府県名, const QString& 市区町村名, bool inCodeOrder)
{
    return distinctValues(QStringLiteral("町域名"),
                          QStringLiteral("〒.都道府県名 = ") + inDoubleQuotes(都道府県名)
                              + QStringLiteral(" and 〒.市区町村名 = ") + inDoubleQuotes(市区町村名),
                          inCodeOrder);
}

QString 域名Query(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名, bool inCodeOrder)
{
    return distinctValues(QStringLiteral("域名"),
                          QStringLiteral("〒.都道府県名 = ") + inDoubleQuotes(都道府県名)
                              + QStringLiteral(" and 〒.市区町村名 = ") + inDoubleQuotes(市区町村名)
                              + QStringLiteral(" and 〒.町域名 = ") + inDoubleQuotes(町域名),
                          inCodeOrder);
}

QStringList postalValues(db::Database& postal, const QString& query)
{
    QStringList values;
    db::RecordSet rows = postal.openRecordSet(query);
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        values << rows.field(0).toText();
    rows.close();
    return values;
}

QString composeAddress(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名,
                       const QString& 域名)
{
    return 都道府県名 + 市区町村名 + 町域名 + 域名;
}

} // namespace vortan::sheet
