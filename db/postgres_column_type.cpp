#include "db/postgres_column_type.h"

namespace vortan::db {

namespace {

QString yesNoRuleName(const QString& table, const QString& column)
{
    return quotedName(QStringLiteral("jet_yesno_") + table + u'_' + column);
}

QString textLiteral(QString text)
{
    text.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

} // namespace

QString postgresDeclaration(const JetColumnType& type)
{
    switch (type.type) {
    case JetType::Text:
    case JetType::Memo: return QStringLiteral("citext");
    case JetType::Long:
    case JetType::Counter: return QStringLiteral("integer");
    case JetType::Short:
    case JetType::Byte:
    case JetType::YesNo: return QStringLiteral("smallint");
    // Singles are kept as doubles, as the file engine keeps them, so that a
    // value reads back the same from either engine.
    case JetType::Single:
    case JetType::Double: return QStringLiteral("double precision");
    case JetType::Currency: return QStringLiteral("numeric(19,4)");
    case JetType::DateTime: return QStringLiteral("timestamp");
    }
    return QStringLiteral("citext");
}

QString postgresTextSizeCheck(const QString& column)
{
    return QStringLiteral("jet_text_size_") + column;
}

QString postgresColumnDefinition(const QString& name, const JetColumnType& type)
{
    const QString q = quotedName(name);
    QString def = q + u' ' + postgresDeclaration(type);
    if (type.type == JetType::Text)
        def += QStringLiteral(" CONSTRAINT %1 CHECK (length(%2) <= %3)")
                   .arg(quotedName(postgresTextSizeCheck(name)), q)
                   .arg(type.size);
    return def;
}

QStringList postgresColumnRules(const QString& table, const QString& column, const JetColumnType& type)
{
    QStringList statements;
    if (type.type == JetType::YesNo) {
        const QString c = quotedName(column);
        const QString rule = yesNoRuleName(table, column);
        statements.append(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                                         "$rule$ BEGIN NEW.%2 := CASE WHEN NEW.%2 IS NULL OR NEW.%2 = 0 THEN 0 "
                                         "ELSE -1 END; RETURN NEW; END $rule$")
                              .arg(rule, c));
        statements.append(QStringLiteral("CREATE OR REPLACE TRIGGER %1 BEFORE INSERT OR UPDATE ON %2 "
                                         "FOR EACH ROW EXECUTE FUNCTION %1()")
                              .arg(rule, quotedName(table)));
    }
    statements.append(QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3")
                          .arg(quotedName(table), quotedName(column), textLiteral(jetTypeWord(type))));
    return statements;
}

QStringList postgresDropYesNoRule(const QString& table, const QString& column)
{
    const QString rule = yesNoRuleName(table, column);
    return {QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(rule, quotedName(table)),
            QStringLiteral("DROP FUNCTION IF EXISTS %1()").arg(rule)};
}

} // namespace vortan::db
