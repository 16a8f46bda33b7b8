#include "db/value.h"

#include "core/number_text.h"

namespace vortan::db {

bool Value::isNumber() const
{
    const int type = v_.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Double;
}

QString Value::toText() const
{
    switch (v_.typeId()) {
    case QMetaType::UnknownType: return QString();
    case QMetaType::LongLong: return QString::number(v_.toLongLong());
    case QMetaType::Double: return numtext::shortestDouble(v_.toDouble());
    default: return v_.toString();
    }
}

double Value::toNumber() const
{
    switch (v_.typeId()) {
    case QMetaType::UnknownType: return 0;
    case QMetaType::LongLong: return static_cast<double>(v_.toLongLong());
    case QMetaType::Double: return v_.toDouble();
    default: return numtext::leadingNumber(v_.toString());
    }
}

} // namespace vortan::db
