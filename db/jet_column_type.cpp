#include "db/jet_column_type.h"

#include <QStringList>

namespace vortan::db {

namespace {

bool same(QStringView a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<JetColumnType> jetTypeFromWord(QStringView word, std::optional<int> size)
{
    if (same(word, "String") || same(word, "Text") || same(word, "Char") || same(word, "VarChar")
        || same(word, "Character") || same(word, "NChar") || same(word, "NVarChar")) {
        const int n = size.value_or(255);
        if (n <= 0 || n > 255)
            return std::nullopt;
        return JetColumnType{JetType::Text, n};
    }
    if (size)
        return std::nullopt;   // only text types take a size
    if (same(word, "Memo") || same(word, "LongText") || same(word, "LongChar") || same(word, "Note"))
        return JetColumnType{JetType::Memo, 0};
    if (same(word, "Long") || same(word, "Int") || same(word, "Int4") || same(word, "Integer4"))
        return JetColumnType{JetType::Long, 0};
    // In the dialect Integer is the long type too when written in DDL (Jet
    // reads INTEGER as Long); Short and SmallInt are the 16-bit type.
    if (same(word, "Integer"))
        return JetColumnType{JetType::Long, 0};
    if (same(word, "Short") || same(word, "SmallInt") || same(word, "Integer2"))
        return JetColumnType{JetType::Short, 0};
    if (same(word, "Byte") || same(word, "TinyInt") || same(word, "Integer1"))
        return JetColumnType{JetType::Byte, 0};
    if (same(word, "Single") || same(word, "Real") || same(word, "Float4") || same(word, "IEEESingle"))
        return JetColumnType{JetType::Single, 0};
    if (same(word, "Double") || same(word, "Float") || same(word, "Float8") || same(word, "Number")
        || same(word, "Numeric") || same(word, "IEEEDouble"))
        return JetColumnType{JetType::Double, 0};
    if (same(word, "Currency") || same(word, "Money"))
        return JetColumnType{JetType::Currency, 0};
    if (same(word, "YesNo") || same(word, "Bit") || same(word, "Logical") || same(word, "Logical1")
        || same(word, "Boolean"))
        return JetColumnType{JetType::YesNo, 0};
    if (same(word, "DateTime") || same(word, "Date") || same(word, "Time") || same(word, "TimeStamp"))
        return JetColumnType{JetType::DateTime, 0};
    if (same(word, "Counter") || same(word, "AutoIncrement") || same(word, "Identity"))
        return JetColumnType{JetType::Counter, 0};
    return std::nullopt;
}

QString jetTypeWord(const JetColumnType& type)
{
    switch (type.type) {
    case JetType::Text: return QStringLiteral("String(%1)").arg(type.size);
    case JetType::Memo: return QStringLiteral("Memo");
    case JetType::Long: return QStringLiteral("Long");
    case JetType::Short: return QStringLiteral("Short");
    case JetType::Byte: return QStringLiteral("Byte");
    case JetType::Single: return QStringLiteral("Single");
    case JetType::Double: return QStringLiteral("Double");
    case JetType::Currency: return QStringLiteral("Currency");
    case JetType::YesNo: return QStringLiteral("YesNo");
    case JetType::DateTime: return QStringLiteral("DateTime");
    case JetType::Counter: return QStringLiteral("Counter");
    }
    return QStringLiteral("Memo");
}

QString sqliteDeclaration(const JetColumnType& type)
{
    switch (type.type) {
    case JetType::Text: return QStringLiteral("VARCHAR(%1)").arg(type.size);
    case JetType::Memo: return QStringLiteral("TEXT");
    case JetType::Long: return QStringLiteral("INTEGER");
    case JetType::Short: return QStringLiteral("SMALLINT");
    case JetType::Byte: return QStringLiteral("TINYINT");
    case JetType::Single: return QStringLiteral("FLOAT");
    case JetType::Double: return QStringLiteral("DOUBLE");
    case JetType::Currency: return QStringLiteral("CURRENCY");
    case JetType::YesNo: return QStringLiteral("YESNO");
    case JetType::DateTime: return QStringLiteral("DATETIME");
    case JetType::Counter: return QStringLiteral("INTEGER");
    }
    return QStringLiteral("TEXT");
}

JetColumnType jetTypeFromDeclaration(QStringView declaration)
{
    const QStringView d = declaration.trimmed();
    const qsizetype open = d.indexOf(u'(');
    const QStringView word = (open < 0 ? d : d.left(open)).trimmed();
    if (open >= 0) {
        const qsizetype close = d.indexOf(u')', open);
        bool ok = false;
        const int size = d.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
        if (ok) {
            if (auto t = jetTypeFromWord(word, size))
                return *t;
        }
        return JetColumnType{};
    }
    if (same(word, "TEXT"))
        return JetColumnType{JetType::Memo, 0};
    if (same(word, "FLOAT"))
        return JetColumnType{JetType::Single, 0};
    if (auto t = jetTypeFromWord(word, std::nullopt))
        return *t;
    return JetColumnType{};
}

QString quotedName(QStringView name)
{
    QString out;
    out.reserve(name.size() + 2);
    out += u'"';
    for (QChar c : name) {
        out += c;
        if (c == u'"')
            out += u'"';
    }
    out += u'"';
    return out;
}

QString sqliteColumnDefinition(const QString& name, const JetColumnType& type)
{
    const QString q = quotedName(name);
    QString def = q + u' ' + sqliteDeclaration(type);
    if (type.isText())
        def += QStringLiteral(" COLLATE NOCASE");
    if (type.type == JetType::Text) {
        def += QStringLiteral(" CONSTRAINT %1 CHECK (length(%2) <= %3)")
                   .arg(quotedName(QStringLiteral("jet_text_size_") + name), q)
                   .arg(type.size);
    } else if (type.isNumber() && type.type != JetType::Counter) {
        def += QStringLiteral(" CONSTRAINT %1 CHECK (typeof(%2) IN ('integer', 'real', 'null'))")
                   .arg(quotedName(QStringLiteral("jet_number_") + name), q);
    }
    return def;
}

QStringList yesNoTriggers(const QString& table, const QString& column)
{
    const QString t = quotedName(table);
    const QString c = quotedName(column);
    const QString body = QStringLiteral(" WHEN NEW.%1 IS NULL OR NEW.%1 NOT IN (0, -1) BEGIN UPDATE %2 SET %1 = "
                                        "CASE WHEN NEW.%1 IS NULL OR NEW.%1 = 0 THEN 0 ELSE -1 END "
                                        "WHERE rowid = NEW.rowid; END")
                             .arg(c, t);
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER INSERT ON %2")
                .arg(quotedName(QStringLiteral("jet_yesno_ins_") + table + u'_' + column), t)
            + body,
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER UPDATE OF %2 ON %3")
                .arg(quotedName(QStringLiteral("jet_yesno_upd_") + table + u'_' + column), c, t)
            + body,
    };
}

} // namespace vortan::db
