#include "support/database_rows.h"

#include "db/database.h"
#include "db/record_set.h"

namespace vortan::test {

QStringList rows(db::Database& database, const QString& sql)
{
    db::RecordSet set = database.openRecordSet(sql);
    QStringList out;
    for (; !set.eof(); set.moveNext()) {
        QStringList fields;
        for (int i = 0; i < set.fieldCount(); ++i)
            fields << set.field(i).toText();
        out << fields.join(u'|');
    }
    return out;
}

QStringList list(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << QString::fromUtf8(item);
    return out;
}

} // namespace vortan::test
