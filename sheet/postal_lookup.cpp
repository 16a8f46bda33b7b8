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

} // namespace

QString 都道府県Query()
{
    return QStringLiteral("SELECT DISTINCT 〒.都道府県名 From 〒 ORDER BY 〒.都道府県名");
}

QString 市区町村Query(const QString& 都道府県名)
{
    return QStringLiteral("SELECT DISTINCT 〒.市区町村名 From 〒 where 〒.都道府県名 = ") + inDoubleQuotes(都道府県名)
        + QStringLiteral(" ORDER BY 〒.市区町村名");
}

QString 町域Query(const QString& 都道府県名, const QString& 市区町村名)
{
    return QStringLiteral("SELECT DISTINCT 〒.町域名 From 〒 where 〒.都道府県名 = ") + inDoubleQuotes(都道府県名)
        + QStringLiteral(" and 〒.市区町村名 = ") + inDoubleQuotes(市区町村名) + QStringLiteral(" ORDER BY 〒.町域名");
}

QString 域名Query(const QString& 都道府県名, const QString& 市区町村名, const QString& 町域名)
{
    return QStringLiteral("SELECT DISTINCT 〒.域名 From 〒 where 〒.都道府県名 = ") + inDoubleQuotes(都道府県名)
        + QStringLiteral(" and 〒.市区町村名 = ") + inDoubleQuotes(市区町村名) + QStringLiteral(" and 〒.町域名 = ")
        + inDoubleQuotes(町域名) + QStringLiteral(" ORDER BY 〒.域名");
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
